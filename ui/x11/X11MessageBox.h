#pragma once

#include <X11/Xlib.h>

#include <string>
#include <vector>

class QVUIManagerX11;

// A modal message box: a dialog window of its own with the text, the caption as title, an
// optional question icon and a row of buttons. Answered by mouse, or by keys: Enter or Space
// presses the focused button (at first the leftmost), Tab and the arrow keys move the focus,
// Y and N answer Yes and No, Escape gives Cancel (OK in a box with only OK). Closing the dialog
// through the window manager gives Cancel, OK in a box with only OK, and nothing in a Yes/No
// box, which cannot be closed without an answer - as the Windows message box behaves.
//
// While the box is up, events of the manager's other windows are dispatched as usual (their
// windows repaint and stay usable, as under a Windows message box without owner); quit
// messages are kept for the loop that waits for them.
class X11MessageBox
{
public:
    enum Buttons
    {
        Ok,
        YesNo,
        YesNoCancel
    };

    X11MessageBox(QVUIManagerX11& manager, Buttons buttons);
    X11MessageBox(const X11MessageBox&) = delete;
    X11MessageBox& operator=(const X11MessageBox&) = delete;

    // Shows the box and waits for the answer: QV_UI_RESULT_OK, _YES, _NO or _CANCEL (the
    // Windows message box results); 0 when the dialog could not be made.
    int Run(const std::u16string& text, const std::u16string& caption);

private:
    struct Choice
    {
        const char* label;
        int result;
        int x, y, width, height;
    };

    void Layout(const std::u16string& text);
    void Paint();
    int ChoiceAt(int x, int y) const;
    // The answer to a key, or 0 when the key gives none.
    int AnswerKey(XKeyEvent& key);
    bool Has(int result) const;

    QVUIManagerX11& manager;
    Display* display;
    Buttons buttons;
    bool questionIcon;
    Window dialog = 0;
    std::vector<std::string> lines;
    std::vector<Choice> choices;
    int focused = 0;
    int pressed = -1;  // index of the button held down by the mouse, or -1
    bool pressedInside = false;
    int width = 0;
    int height = 0;
    int textX = 0;
    int textY = 0;
    int textWidth = 0;
    int textHeight = 0;
    int bandY = 0;
};
