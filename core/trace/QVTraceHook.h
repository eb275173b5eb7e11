#pragma once

class QVTextSink;

// The library-wide trace hook: a place where code reports what it is doing without knowing
// whether anybody listens. It holds at most one sink; with none installed a report costs a test
// and nothing else. Each library has its own copy of the core and therefore its own hook: a sink
// that a module installs receives the module's reports, not the host's.
//
// Sink rules: the first report that passes a sink while none is held installs it for good; a
// report goes to the sink it passes, else to the held one, else nowhere. Not locked: reports come
// from the thread that owns the scene and the renderer.
class QVTraceHook
{
public:
    // Hands text to sink when given, else to the held sink. When no sink is held yet, a given
    // sink becomes the held one. A null text is not reported.
    static void Report(const char* text, QVTextSink* sink = nullptr);

    // The held sink, or null.
    static QVTextSink* GetSink();

    // Forgets the held sink if it is this one, so that a sink that dies before the process ends
    // is not written to afterwards. Returns whether it was the held one.
    static bool Remove(QVTextSink* sink);

    QVTraceHook() = delete;
};
