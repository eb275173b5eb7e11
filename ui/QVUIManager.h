#pragma once

#include "core/string/QVString.h"
#include "modules/QVModule.h"
#include "ui/QVUIItem.h"

// Module kind "UI Manager": windows, labels and buttons for UI items, a message loop and
// message boxes, behind one virtual interface. One module per window system implements it.
// The slot order (after QVModule's three) is a contract between hosts and the UI manager
// modules: do not reorder. Operations that need a window do nothing for an item without one.
class QVUIManager : public QVModule
{
public:
    // The module type that UI manager modules set and hosts check before using a module as one.
    static constexpr const char* ModuleType = "UI Manager";

    QVUIManager();
    ~QVUIManager() override;

    // Creates the item's window, tags it with the item and takes over its event handling.
    // Returns false for kind Static (the window is made but not attached), for a kind outside
    // Static..HandLabel, and when no window could be made.
    virtual bool CreateItem(QVUIItem* item) = 0;
    // Forgets the item's previous window procedure; the window itself is left alone.
    virtual void DestroyItem(QVUIItem* item);
    // Reads whether the item's window is visible into its visible byte.
    virtual void ReadVisibility(QVUIItem* item) = 0;
    // Shows or hides the item's window, then shows or hides the mouse cursor once.
    virtual void ApplyVisibility(QVUIItem* item) = 0;
    // Reads the window's text into the item's caption, in the caption's width.
    virtual void ReadText(QVUIItem* item) = 0;
    // Gives the window the item's caption.
    virtual void ApplyText(QVUIItem* item) = 0;
    // Hooks around the item's life; they do nothing here. CreateItem calls PrepareItem first and
    // SyncItem before reading the position and size.
    virtual void PrepareItem(QVUIItem* item);
    virtual void ApplyColour(QVUIItem* item);
    virtual void ReservedHookA(QVUIItem* item);
    virtual void ReservedHookB(QVUIItem* item);
    virtual void SyncItem(QVUIItem* item);
    // Position and size take effect only when the window is created.
    virtual void ApplyGeometry(QVUIItem* item);
    virtual void ReservedHookC(QVUIItem* item);
    virtual void ReservedHookD(void* argument);
    // Takes over a window that the host made and stored in the item itself, keeping the
    // window's own event handling. Returns 0 when the item has no window.
    virtual int AttachWindow(QVUIItem* item) = 0;
    // Has the whole window redrawn. Returns 0 when the item has no window.
    virtual int Invalidate(QVUIItem* item) = 0;
    // Queues a quit message for the item's window: the next ProcessMessages that reaches it
    // returns false. Returns 0 when it could not be queued.
    virtual int PostQuit(QVUIItem* item) = 0;
    // One step of the message loop for the item's window and its children. With wait it blocks
    // for the next event; without, it returns true at once when none is waiting. False means
    // stop: the window was closed, a quit message arrived, or the item has no window (none could
    // be made, for instance without a display).
    virtual bool ProcessMessages(QVUIItem* item, bool wait) = 0;
    // Modal question box with Yes and No; true only for Yes.
    virtual bool AskYesNo(QVString& text, QVString& caption) = 0;
    // Modal question box with Yes, No and Cancel: 1 Yes, 0 No, 2 anything else.
    virtual int AskYesNoCancel(QVString& text, QVString& caption) = 0;
    // Modal box with an OK button; returns the box's result (1 for OK).
    virtual int ShowMessage(QVString& text, QVString& caption) = 0;
    // ShowMessage with the text and an empty caption.
    virtual void ShowText(QVString& text);
    // Moves the mouse cursor to (x, y) in the item's client coordinates. 0 on failure.
    virtual int SetCursorPosition(QVUIItem* item, int x, int y) = 0;
};

// Results of the message boxes, as the Windows message box reports them.
enum QVUIMessageResult
{
    QV_UI_RESULT_OK = 1,
    QV_UI_RESULT_CANCEL = 2,
    QV_UI_RESULT_YES = 6,
    QV_UI_RESULT_NO = 7,
};

// The process-wide UI manager: set by the host once it has loaded the UI manager module; items
// without a manager take it when they are created. Null until set.
QVUIManager* GetUIManager();
void SetUIManager(QVUIManager* manager);

// File name of this platform's UI manager module ("qvuimanagerw32.qvm" on Windows,
// "qvuimanagerx11.qvm" on Linux, "qvuimanagerweb.qvm" in a web page), for the module manager's
// LoadModule.
const char* GetUIManagerFileName();
