// Wide names on targets whose file names are UTF-8 bytes.
#include "loaders/QVFile.h"

#include "../LoaderTestSupport.h"

#include <gtest/gtest.h>

TEST(QVFileWideNamePosix, WideNamesBecomeUtf8)
{
    ScratchFile utf8("\xC3\xA9\xF0\x9F\x98\x80.bin");  // the same name, removed at the end
    {
        QVFile file;
        ASSERT_TRUE(file.Open(Units(u"loaders-test-\u00e9\U0001F600.bin").data(), "wb"));
    }
    QVFile file;
    EXPECT_TRUE(file.Open(utf8.Name(), "rb"));
}

TEST(QVFileWideNamePosix, ALoneSurrogateNamesNoFile)
{
    const unsigned short lone[] = {'l', 0xD800, 0};
    const unsigned short trailing[] = {0xDC00, 'x', 0};
    QVFile file;
    EXPECT_FALSE(file.Open(lone, "wb"));
    EXPECT_FALSE(file.Open(trailing, "wb"));
}
