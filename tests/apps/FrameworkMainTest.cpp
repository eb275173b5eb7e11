// The framework main: Run first, and only on a negative result the command line split into words.
#include "apps/framework/FrameworkMain.h"
#include "apps/framework/QVApplication.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// The program's one global application, constructed before main like a real program's.
class RecordingApplication : public QVApplication
{
public:
    int runResult = -1;
    int runArgsResult = 0;
    int runCalls = 0;
    int runArgsCalls = 0;
    std::vector<std::string> words;

    int Run() override
    {
        ++runCalls;
        return runResult;
    }

    int RunArgs(QVArray<QVString>& received) override
    {
        ++runArgsCalls;
        words.clear();
        for (int i = 0; i < received.GetSize(); ++i)
            words.emplace_back(received[i].GetBuffer() ? received[i].GetBuffer() : "");
        return runArgsResult;
    }
};

RecordingApplication application;

class FrameworkMainTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        application.runResult = -1;
        application.runArgsResult = 0;
        application.runCalls = 0;
        application.runArgsCalls = 0;
        application.words.clear();
    }
};

TEST_F(FrameworkMainTest, GlobalApplicationIsTheProcessApplication)
{
    EXPECT_EQ(QVGetApplication(), &application);
    RecordingApplication later;
    EXPECT_EQ(QVGetApplication(), &application) << "a later application must not replace the first";
}

TEST_F(FrameworkMainTest, StoresInstanceHandleBeforeRun)
{
    int marker = 0;
    application.runResult = 0;
    QVFrameworkMain(&marker, "");
    EXPECT_EQ(application.GetInstance(), &marker);
}

TEST_F(FrameworkMainTest, NonNegativeRunNeverSplitsTheCommandLine)
{
    application.runResult = 0;
    EXPECT_EQ(QVFrameworkMain(nullptr, "a b  c"), 0);
    EXPECT_EQ(application.runCalls, 1);
    EXPECT_EQ(application.runArgsCalls, 0);

    application.runResult = 42;
    EXPECT_EQ(QVFrameworkMain(nullptr, "x"), 42);
    EXPECT_EQ(application.runArgsCalls, 0);
}

TEST_F(FrameworkMainTest, NegativeRunHandsOverRunArgsResult)
{
    application.runResult = -5;
    application.runArgsResult = 3;
    EXPECT_EQ(QVFrameworkMain(nullptr, "module.qvm"), 3);
    EXPECT_EQ(application.runCalls, 1);
    EXPECT_EQ(application.runArgsCalls, 1);
}

TEST_F(FrameworkMainTest, LineWithoutBlanksIsOneWord)
{
    QVFrameworkMain(nullptr, "C:\\applets\\demo.qvm");
    EXPECT_EQ(application.words, (std::vector<std::string>{"C:\\applets\\demo.qvm"}));
}

TEST_F(FrameworkMainTest, EmptyLineIsOneEmptyWord)
{
    QVFrameworkMain(nullptr, "");
    EXPECT_EQ(application.words, (std::vector<std::string>{""}));
    QVFrameworkMain(nullptr, nullptr);
    EXPECT_EQ(application.words, (std::vector<std::string>{""}));
}

TEST_F(FrameworkMainTest, BlanksSeparateWords)
{
    QVFrameworkMain(nullptr, "a b");
    EXPECT_EQ(application.words, (std::vector<std::string>{"a", "b"}));

    QVFrameworkMain(nullptr, "one two three");
    EXPECT_EQ(application.words, (std::vector<std::string>{"one", "two", "three"}));
}

TEST_F(FrameworkMainTest, ConsecutiveBlanksMakeEmptyWords)
{
    QVFrameworkMain(nullptr, "a  b");
    EXPECT_EQ(application.words, (std::vector<std::string>{"a", "", "b"}));

    QVFrameworkMain(nullptr, " a ");
    EXPECT_EQ(application.words, (std::vector<std::string>{"", "a", ""}));
}

}  // namespace
