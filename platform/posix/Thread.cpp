#include "platform/Thread.h"

#include <cerrno>
#include <ctime>
#include <new>

#include <pthread.h>

namespace
{
struct ThreadStart
{
    void (*entry)(void*);
    void* argument;
};

void* RunThread(void* start)
{
    ThreadStart copy = *static_cast<ThreadStart*>(start);
    delete static_cast<ThreadStart*>(start);
    copy.entry(copy.argument);
    return nullptr;
}

// The handle is the pthread_t itself, kept in an allocated box: a pthread_t need not fit a
// pointer everywhere.
pthread_t* Box(QVHandle thread) { return static_cast<pthread_t*>(thread); }
}  // namespace

QVHandle QVStartThread(void (*entry)(void*), void* argument)
{
    if (entry == nullptr)
        return nullptr;
    ThreadStart* start = new (std::nothrow) ThreadStart{entry, argument};
    pthread_t* thread = new (std::nothrow) pthread_t();
    if (start == nullptr || thread == nullptr ||
        pthread_create(thread, nullptr, RunThread, start) != 0)
    {
        delete start;
        delete thread;
        return nullptr;
    }
    return thread;
}

bool QVWaitThread(QVHandle thread, unsigned milliseconds)
{
    if (thread == nullptr)
        return true;
    timespec deadline;
    clock_gettime(CLOCK_REALTIME, &deadline);
    deadline.tv_sec += static_cast<time_t>(milliseconds / 1000);
    deadline.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L)
    {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    if (pthread_timedjoin_np(*Box(thread), nullptr, &deadline) != 0)
        return false;
    delete Box(thread);
    return true;
}

void QVForgetThread(QVHandle thread)
{
    if (thread == nullptr)
        return;
    pthread_detach(*Box(thread));
    delete Box(thread);
}
