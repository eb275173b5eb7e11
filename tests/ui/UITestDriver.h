#pragma once

#include "platform/QVHandle.h"

class QVUIManager;

// Drives the real window system for the UI manager tests: makes the platform's manager and
// produces the events a user or a window manager would, addressed to one window. Each platform
// has its own implementation (x11/, win32/).
namespace UITestDriver
{

// Whether windows can be made here (a display is reachable).
bool HasDisplay();
// A new UI manager of this platform, without the module boundary; delete with ReleaseManager.
QVUIManager* CreateManager();
void ReleaseManager(QVUIManager* manager);

// A key with that virtual-key code goes down or up in window.
void Key(QVHandle window, int virtualKey, bool down);
// The mouse moves to (x, y) of window with the keys and buttons of flags (QVUIMouseFlags) down.
void MouseMove(QVHandle window, int x, int y, unsigned short flags);
// A left click in the middle of window.
void Click(QVHandle window);
// Gives a child window a new client size.
void ResizeChild(QVHandle window, int width, int height);
// The window manager's minimised or maximised state arrives for a top-level window. Minimising
// keeps a maximised window's maximised state for when it comes back.
void Minimize(QVHandle window);
void Maximize(QVHandle window);
// A minimised window comes back, to the state it had before it was minimised.
void Restore(QVHandle window);
// The window's client size as the window system has it now.
void ClientSize(QVHandle window, int& width, int& height);
// Closes a top-level window as its close box does.
void CloseFromWindowManager(QVHandle window);

// A top-level window made outside the UI manager, whose own event handling counts key presses.
QVHandle CreateForeignWindow();
// Key presses the foreign window's own handling has seen so far.
int ForeignKeyPresses(QVHandle window);
void DestroyForeignWindow(QVHandle window);

// Destroys a window that a UI manager made.
void DestroyManagedWindow(QVHandle window);
// Drops the quit messages that closed windows left in the thread's queue.
void DrainQueue();

}  // namespace UITestDriver
