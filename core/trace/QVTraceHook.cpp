#include "core/trace/QVTraceHook.h"

#include "core/trace/QVTextSink.h"

namespace
{
// Constant-initialised, so reports made during static initialisation (scene objects built by
// static constructors) find the hook ready whatever the order of translation units.
QVTextSink* heldSink = nullptr;
}  // namespace

void QVTraceHook::Report(const char* text, QVTextSink* sink)
{
    if (sink != nullptr && heldSink == nullptr)
    {
        heldSink = sink;
    }
    QVTextSink* target = sink != nullptr ? sink : heldSink;
    if (target == nullptr || text == nullptr)
    {
        return;
    }
    target->Write(text);
}

QVTextSink* QVTraceHook::GetSink() { return heldSink; }

bool QVTraceHook::Remove(QVTextSink* sink)
{
    if (sink == nullptr || sink != heldSink)
    {
        return false;
    }
    heldSink = nullptr;
    return true;
}
