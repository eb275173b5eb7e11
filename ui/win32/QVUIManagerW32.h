#pragma once

#include "ui/QVUIManager.h"

#include <windows.h>

// The UI manager on Win32. Items become windows of two classes registered here ("QVUIWindow",
// "QVUIStatic") or of the system classes "STATIC" and "BUTTON". Each item window is tagged
// with the window property "QVUIItem" (pointing to the item) and subclassed with one window
// procedure that reports events to the item's listener and then chains to the window's
// previous procedure, kept in the item. The manager keeps no list of items.
//
// The procedure and the registered classes are Unicode: window text passes through them
// unconverted, so a 16-bit caption (set and read with the wide calls) keeps every character,
// while 8-bit captions use the 8-bit calls and the system's code page.
class QVUIManagerW32 : public QVUIManager
{
public:
    // Sets the descriptor strings; touches no window.
    QVUIManagerW32();
    ~QVUIManagerW32() override;

    bool CreateItem(QVUIItem* item) override;
    void ReadVisibility(QVUIItem* item) override;
    void ApplyVisibility(QVUIItem* item) override;
    void ReadText(QVUIItem* item) override;
    void ApplyText(QVUIItem* item) override;
    int AttachWindow(QVUIItem* item) override;
    int Invalidate(QVUIItem* item) override;
    int PostQuit(QVUIItem* item) override;
    bool ProcessMessages(QVUIItem* item, bool wait) override;
    bool AskYesNo(QVString& text, QVString& caption) override;
    int AskYesNoCancel(QVString& text, QVString& caption) override;
    int ShowMessage(QVString& text, QVString& caption) override;
    int SetCursorPosition(QVUIItem* item, int x, int y) override;

    // The one procedure of every item window.
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);

private:
    // MessageBoxA for 8-bit texts; MessageBoxW when either text is 16-bit (the other one is
    // widened), so that neither is misread. No owner window.
    static int ShowBox(QVString& text, QVString& caption, UINT style);
};
