#pragma once

#include "apps/framework/QVApplication.h"

// glownwindow: opens the OpenGL renderer's own window ("Window Sample") for the GUI tests and
// draws test frames until PumpMessages answers 18, which happens when the window is closed.
//
//   glownwindow pump              a 200 x 150 window at (10, 10)
//   glownwindow fullscreen W H    full screen at W x H from (0, 0) (an ordinary window when the
//                                 display does not offer that size)
//
// Exit codes: 0 closed (after at least one 0 from PumpMessages), 1 no renderer or no window,
// 2 bad command line, 3 not closed within a minute, 4 closed without ever answering 0.
class GLOwnWindowApp : public QVApplication
{
public:
    int Run() override;
    int RunArgs(QVArray<QVString>& words) override;
};
