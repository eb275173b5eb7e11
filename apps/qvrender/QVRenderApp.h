#pragma once

#include "apps/framework/QVApplication.h"

// qvrender: traces the demonstration scene without a window and writes the image as an
// uncompressed TGA. Command line: qvrender [--size WxH] [--output FILE] [--threads N] (200x150,
// render.tga, one thread per processor); the image does not depend on the number of threads.
// Exit codes: 0 written, 1 the image could not be made or written, 2 a bad command line.
class QVRenderApp : public QVApplication
{
public:
    // Returns -1, so that the framework hands over the command line.
    int Run() override;
    int RunArgs(QVArray<QVString>& words) override;
};
