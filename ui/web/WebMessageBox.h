#pragma once

#include "ui/web/WebPage.h"

#include <string>

// A modal message box in the page (a <dialog> over everything else) whose answer returns to the
// caller. The caller's wait yields to the browser (emscripten_sleep: the program is built with
// ASYNCIFY), so the page keeps running while the box is up. Answered by mouse, or by keys: Enter
// or Space press the focused button (at first the leftmost), Tab moves the focus, Y and N answer
// Yes and No, Escape gives Cancel (OK in a box with only OK, nothing in a Yes/No box); the close
// control answers as Escape and is disabled in a Yes/No box. Events of the manager's windows
// wait in their queue meanwhile and reach the loop after the answer.
class WebMessageBox
{
public:
    // Shows the box and waits for the answer: QV_UI_RESULT_OK, _YES, _NO or _CANCEL (the Windows
    // message box results); 0 when no box could be shown (no page).
    static int Run(const std::u16string& text, const std::u16string& caption,
                   WebPage::BoxButtons buttons);
};
