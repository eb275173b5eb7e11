#include "core/trace/QVTextSink.h"
#include "core/trace/QVTraceHook.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
class Sink : public QVTextSink
{
public:
    void WriteWide(const unsigned short*) override { texts.push_back("<wide>"); }
    void Write(const char* text) override { texts.push_back(text); }
    void Create() override { texts.clear(); }
    std::vector<std::string> texts;
};

using Texts = std::vector<std::string>;

// Each case starts and ends without a held sink.
class TraceHookTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(nullptr, QVTraceHook::GetSink()); }
    void TearDown() override { QVTraceHook::Remove(QVTraceHook::GetSink()); }
};
}  // namespace

TEST_F(TraceHookTest, WithoutASinkReportsGoNowhere)
{
    QVTraceHook::Report("nobody listens");
    EXPECT_EQ(nullptr, QVTraceHook::GetSink());
}

TEST_F(TraceHookTest, FirstPassedSinkIsHeldForLaterReports)
{
    Sink held;
    QVTraceHook::Report("first", &held);
    QVTraceHook::Report("second");
    EXPECT_EQ(&held, QVTraceHook::GetSink());
    EXPECT_EQ(Texts({"first", "second"}), held.texts);
}

TEST_F(TraceHookTest, PassedSinkTakesTheTextButDoesNotReplaceTheHeldOne)
{
    Sink held;
    Sink other;
    QVTraceHook::Report("to held", &held);
    QVTraceHook::Report("to other", &other);
    QVTraceHook::Report("to held again");
    EXPECT_EQ(&held, QVTraceHook::GetSink());
    EXPECT_EQ(Texts({"to held", "to held again"}), held.texts);
    EXPECT_EQ(Texts({"to other"}), other.texts);
}

TEST_F(TraceHookTest, NullTextInstallsButWritesNothing)
{
    Sink held;
    QVTraceHook::Report(nullptr, &held);
    EXPECT_EQ(&held, QVTraceHook::GetSink());
    EXPECT_TRUE(held.texts.empty());
}

TEST_F(TraceHookTest, RemoveForgetsOnlyTheHeldSink)
{
    Sink held;
    Sink stranger;
    QVTraceHook::Report("x", &held);
    EXPECT_FALSE(QVTraceHook::Remove(&stranger));
    EXPECT_FALSE(QVTraceHook::Remove(nullptr));
    EXPECT_EQ(&held, QVTraceHook::GetSink());
    EXPECT_TRUE(QVTraceHook::Remove(&held));
    QVTraceHook::Report("after removal");
    EXPECT_EQ(Texts({"x"}), held.texts);
}
