#pragma once

// Where the trace hook sends its texts: a report file, a console, a test's recorder. Usually a
// second base of an object whose library owns it. The slot order is shared with other libraries
// (the hook always calls slot 1), so operations must not be added in between or reordered.
// There is no virtual destructor: the hook never owns or deletes a sink.
class QVTextSink
{
public:
    // Slot 0. Writes a 16-bit text (NUL-terminated) as it stands.
    virtual void WriteWide(const unsigned short* text) = 0;
    // Slot 1. Writes an 8-bit text (NUL-terminated); this is the operation the trace hook calls.
    virtual void Write(const char* text) = 0;
    // Slots 2 and 3. Reserved hooks; sinks implement them as doing nothing.
    virtual void ReservedFirst() {}
    virtual void ReservedSecond() {}
    // Slot 4. Starts the sink's output afresh (creates or empties a report file).
    virtual void Create() = 0;

protected:
    QVTextSink() = default;
    QVTextSink(const QVTextSink&) = default;
    QVTextSink& operator=(const QVTextSink&) = default;
    ~QVTextSink() = default;
};
