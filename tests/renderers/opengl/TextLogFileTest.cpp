// The renderer's report file as a text sink of the trace hook.
#include "renderers/opengl/TextLogFile.h"
#include "core/trace/QVTraceHook.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace
{
const char kPath[] = "text_log_test.txt";

// The file's text with line ends as written in text mode read back in text mode.
std::string Text(const char* path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Bytes(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const char* path) { return std::ifstream(path).good(); }
}  // namespace

TEST(TextLogFile, EveryWriteIsALineAppendedToTheFile)
{
    std::remove(kPath);
    TextLogFile log(kPath);
    log.Create();
    ASSERT_TRUE(Exists(kPath));
    EXPECT_EQ(Text(kPath), "");
    log.Write("first");
    log.Write("");
    log.Write("third line");
    EXPECT_EQ(Text(kPath), "first\n\nthird line\n");

    // Reopened for every write: a file removed in between comes back with the next line only.
    std::remove(kPath);
    log.Write("again");
    EXPECT_EQ(Text(kPath), "again\n");

    // Create starts afresh.
    log.Create();
    EXPECT_EQ(Text(kPath), "");

    // Wide text goes out as its 16-bit units, with nothing added.
    const unsigned short wide[] = {'h', 'i', 0x263A, 0};
    log.WriteWide(wide);
    EXPECT_EQ(Bytes(kPath), std::string("h\0i\0\x3A\x26", 6));
    std::remove(kPath);
}

TEST(TextLogFile, WithoutAFileNameOrAFileNothingHappens)
{
    TextLogFile unnamed("");
    unnamed.Create();
    unnamed.Write("lost");
    EXPECT_EQ(unnamed.GetFileName().GetLength(), 0);

    // A directory cannot be opened as a file: the writes do nothing.
    TextLogFile blocked(".");
    blocked.Create();
    blocked.Write("lost");
    blocked.WriteWide(nullptr);
    blocked.Write(nullptr);
    SUCCEED();
}

TEST(TextLogFile, TheTraceHookWritesThroughIt)
{
    std::remove(kPath);
    TextLogFile log(kPath);
    log.Create();
    QVTraceHook::Report("through the hook", &log);
    EXPECT_EQ(QVTraceHook::GetSink(), &log);
    QVTraceHook::Report("held sink");
    EXPECT_EQ(Text(kPath), "through the hook\nheld sink\n");
    EXPECT_TRUE(QVTraceHook::Remove(&log));
    std::remove(kPath);
}
