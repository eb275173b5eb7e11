#pragma once

#include "core/object/QVObject.h"
#include "core/string/QVString.h"
#include "core/trace/QVTextSink.h"

// The OpenGL renderer's report file ("gl_output.txt" in the working directory): a text sink that
// the module's trace hook writes to. The file is opened for every write and closed again, so the
// report is complete on disk whenever the program stops. With an empty file name nothing is
// written; a file that cannot be opened makes the writes do nothing.
class TextLogFile final : public QVObject, public QVTextSink
{
public:
    explicit TextLogFile(const char* fileName);
    ~TextLogFile();

    // Slot 0. Appends the 16-bit units of text (up to its zero) as they stand.
    void WriteWide(const unsigned short* text) override;
    // Slot 1. Appends text and a line feed (the file is in text mode: CR LF on Windows).
    void Write(const char* text) override;
    // Slot 4. Creates the file, or empties it.
    void Create() override;

    const QVString& GetFileName() const { return fileName; }

private:
    // Opens the file with mode, writes the pieces, closes it.
    void Append(const void* first, int firstBytes, const void* second, int secondBytes);

    QVString fileName;
};
