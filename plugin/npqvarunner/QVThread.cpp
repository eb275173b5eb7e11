#include "plugin/npqvarunner/QVThread.h"

#include "platform/Thread.h"

QVThread::QVThread() : QVObject(QV_CLASS_THREAD), m_thread(nullptr), m_running(0) {}

QVThread::~QVThread()
{
    if (m_thread != nullptr)
        QVForgetThread(m_thread);
}

void QVThread::Run() {}

bool QVThread::Start()
{
    if (m_running == 1 || m_thread != nullptr)
        return false;
    m_running = 1;
    m_thread = QVStartThread(&QVThread::Enter, this);
    if (m_thread == nullptr)
    {
        m_running = 0;
        return false;
    }
    return true;
}

void QVThread::Stop() { m_running = 0; }

bool QVThread::Wait(unsigned milliseconds)
{
    if (m_thread == nullptr)
        return true;
    if (!QVWaitThread(m_thread, milliseconds))
        return false;
    m_thread = nullptr;
    return true;
}

void QVThread::Enter(void* thread) { static_cast<QVThread*>(thread)->Run(); }
