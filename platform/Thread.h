#pragma once

#include "platform/QVHandle.h"

// Threads of the system's own kind that can be waited for.
//
// Windows: the language runtime's thread start (_beginthreadex), whose handle stays valid until
// it is closed, so the thread's end can be waited for. Linux: POSIX threads.

// Starts a thread running entry(argument) with the default stack size. Returns its handle, or
// null when no thread could be started.
QVHandle QVStartThread(void (*entry)(void* argument), void* argument);

// Waits at most milliseconds for the thread to end. True when it ended: the handle is released
// and must not be used again. False when it is still running: the handle stays valid.
bool QVWaitThread(QVHandle thread, unsigned milliseconds);

// Gives up the handle of a thread that is left to run on; it ends by itself and nothing waits for
// it any more.
void QVForgetThread(QVHandle thread);
