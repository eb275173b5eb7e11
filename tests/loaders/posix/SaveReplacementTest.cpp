// Saving over files the POSIX way: links, devices, and a write that the file size limit cuts
// short.
#include "loaders/QVLoaderModule.h"
#include "loaders/QVProperties.h"

#include "../LoaderTestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

#include <sys/resource.h>

namespace
{
bool SaveTo(QVProperties& properties, const char* name)
{
    QVModCollection* loaders = properties.GetModCollection();
    if (loaders->GetCount() != 1)
    {
        return false;
    }
    return static_cast<QVLoaderModule*>(loaders->GetAt(0))
        ->Save(properties.GetModCollection(), name);
}

bool NothingBeside(const std::string& name)
{
    for (const auto& entry : std::filesystem::directory_iterator("."))
    {
        const std::string other = entry.path().filename().string();
        if (other.size() > name.size() && other.compare(0, name.size(), name) == 0)
        {
            return false;
        }
    }
    return true;
}
}  // namespace

TEST(PropertyFileSavePosix, LinksStayLinksAndDevicesAreRefused)
{
    namespace fs = std::filesystem;
    QVProperties properties(0);
    properties.Set(QVString("a"), QVString("1"));

    ScratchFile real("real.cfg", "old");
    ScratchFile link("link.cfg");
    fs::create_symlink(real.Name(), link.Name());
    ASSERT_TRUE(SaveTo(properties, link.Name()));
    EXPECT_TRUE(fs::is_symlink(link.Name()));
    EXPECT_EQ(std::string("a=1\n") + '\0', real.Bytes());

    ScratchFile toDevice("null.cfg");
    fs::create_symlink("/dev/null", toDevice.Name());
    EXPECT_FALSE(SaveTo(properties, toDevice.Name()));
    EXPECT_EQ("/dev/null", fs::read_symlink(toDevice.Name()).string());
    EXPECT_TRUE(NothingBeside(link.Name()) && NothingBeside(toDevice.Name()));
}

TEST(PropertyFileSavePosix, AWriteCutShortKeepsTheOldFile)
{
    ScratchFile file("cut.cfg", "old=1\n");
    QVProperties properties(0);
    for (int i = 0; i < 2000; ++i)
    {
        properties.Set(QVString(("key" + std::to_string(i)).c_str()),
                       QVString("a value long enough to pass the limit"));
    }
    // Writing beyond the limit fails with EFBIG once the signal is ignored.
    rlimit saved;
    ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &saved));
    rlimit small = saved;
    small.rlim_cur = 16 * 1024;
    void (*handler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
    const bool savedBeyond = SaveTo(properties, file.Name());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);

    EXPECT_FALSE(savedBeyond);
    const std::string after = file.Bytes();
    EXPECT_EQ("old=1\n", after.size() > 40 ? after.substr(0, 40) + "..." : after);
    EXPECT_TRUE(NothingBeside(file.Name()));
}
