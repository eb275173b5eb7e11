#include "platform/Thread.h"

#include <new>

#include <process.h>
#include <windows.h>

namespace
{
struct ThreadStart
{
    void (*entry)(void*);
    void* argument;
};

unsigned __stdcall RunThread(void* start)
{
    ThreadStart copy = *static_cast<ThreadStart*>(start);
    delete static_cast<ThreadStart*>(start);
    copy.entry(copy.argument);
    return 0;
}

// Runs the messages other threads send to this one (a window made on the waited-for thread as
// a child of one of this thread's windows sends its parent notifications and waits for them).
void RunSentMessages()
{
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}
}  // namespace

QVHandle QVStartThread(void (*entry)(void*), void* argument)
{
    if (entry == nullptr)
        return nullptr;
    ThreadStart* start = new (std::nothrow) ThreadStart{entry, argument};
    if (start == nullptr)
        return nullptr;
    // _beginthreadex rather than _beginthread: the handle of the latter is closed when the
    // thread ends, so its end could not be waited for.
    uintptr_t thread = _beginthreadex(nullptr, 0, RunThread, start, 0, nullptr);
    if (thread == 0)
    {
        delete start;
        return nullptr;
    }
    return reinterpret_cast<QVHandle>(thread);
}

bool QVWaitThread(QVHandle thread, unsigned milliseconds)
{
    if (thread == nullptr)
        return true;
    const DWORD start = GetTickCount();
    for (;;)
    {
        const DWORD spent = GetTickCount() - start;
        const DWORD left = spent < milliseconds ? milliseconds - spent : 0;
        HANDLE handle = static_cast<HANDLE>(thread);
        const DWORD result = MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0)
        {
            CloseHandle(handle);
            return true;
        }
        if (result != WAIT_OBJECT_0 + 1)
            return false;
        RunSentMessages();
    }
}

void QVForgetThread(QVHandle thread)
{
    if (thread != nullptr)
        CloseHandle(static_cast<HANDLE>(thread));
}
