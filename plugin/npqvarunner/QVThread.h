#pragma once

#include "core/object/QVObject.h"
#include "platform/QVHandle.h"

#include <cstdint>

// Class code of QVThread.
const std::int32_t QV_CLASS_THREAD = 45059;

// A thread that runs the object's Run once. Members: the thread's handle and a running flag (0 or
// 1). Start and Stop are called from one thread (the browser's); Run runs on the new thread.
class QVThread : public QVObject
{
public:
    QVThread();
    // A thread still running is left to run on (nothing waits for it); callers wait first.
    virtual ~QVThread();
    QVThread(const QVThread&) = delete;
    QVThread& operator=(const QVThread&) = delete;

    // Slot 2: the thread's work; empty here.
    virtual void Run();

    // When the running flag is not 1: sets it and starts a new thread (default stack size) that
    // calls Run and then ends. False when no thread could be started (the flag is cleared again)
    // or one was started before.
    bool Start();
    // Clears the running flag; it neither stops nor waits for the thread.
    void Stop();
    // Waits at most milliseconds for a started thread to end. True when it ended (or none was
    // started); false when it still runs.
    bool Wait(unsigned milliseconds);
    // Whether a thread was started and has not been waited for to its end.
    bool HasThread() const { return m_thread != nullptr; }
    bool IsRunning() const { return m_running == 1; }

private:
    static void Enter(void* thread);

    QVHandle m_thread;
    std::int32_t m_running;
};
