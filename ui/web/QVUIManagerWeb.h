#pragma once

#include "ui/QVUIManager.h"
#include "ui/web/WebEvent.h"

#include <string>
#include <unordered_map>

// The UI manager in a web page (module "qvuimanagerweb.qvm", platform "Web").
//
// - Every item is an element of the page with the id "qvwin-N"; the item's window field holds N
//   (ids come from a page-wide counter, so several programs in one page never share one). Windows
//   are positioned <div>s holding a <canvas id="qvwin-N-canvas"> of the window's size, on which a
//   renderer makes its WebGL context; the background colour is the canvas's CSS background.
//   Labels are text elements, hand labels link-like text, buttons <button>s, all inside the
//   element of their parent item. A window whose parent item has the window N goes inside
//   "qvwin-N" (the web player passes its applet element so); a window without a parent goes into
//   the program's root element, Module.qvRoot (an element or its id), else the page's body, with
//   a title bar showing its caption and a close control.
// - Events are queued by the page per element and taken one at a time by ProcessMessages, for
//   the item's element and the elements inside it; other events stay queued. Keys (on the
//   focused window or button) carry Windows virtual-key codes (WebVirtualKeys), mouse moves the
//   listener's mouse flags and client coordinates; a click on a button reaches the listener of
//   the window that contains it as OnCommand with the button's item.
// - ProcessMessages yields to the browser when no event is waiting (emscripten_sleep; programs
//   link with ASYNCIFY), so a host's blocking loop keeps the page alive. The close control marks
//   the item closed and removes its element, as a desktop window is destroyed on close; an
//   element that the page removed also ends the item's loop, with the item marked closed.
// - Message boxes are modal dialogs in the page (WebMessageBox); the caller waits for the answer
//   while the page runs.
class QVUIManagerWeb : public QVUIManager
{
public:
    // Sets the descriptor strings; touches no page.
    QVUIManagerWeb();
    ~QVUIManagerWeb() override;

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
    // A page cannot move the mouse pointer: always 0.
    int SetCursorPosition(QVUIItem* item, int x, int y) override;

private:
    // The stand-in for a window's properties: the item it is tagged with and its text.
    struct ElementRecord
    {
        QVUIItem* item = nullptr;
        std::u16string text;
    };

    ElementRecord* Find(int id);
    // Takes the next event of the item's element; yields to the page first when none waits
    // (and, with wait, until one comes). False when there is none or the element left the page.
    bool NextEvent(QVUIItem* item, int id, bool wait, WebEvent& event);
    // Hands one event to the listener of its element's item, then does what the element does by
    // itself (a closed window goes away).
    void DispatchEvent(const WebEvent& event);

    int cursorCount = 0;  // the cursor shows while >= 0, as the Windows cursor display count
    std::unordered_map<int, ElementRecord> records;
};
