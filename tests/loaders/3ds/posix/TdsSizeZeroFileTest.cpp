// Files whose size, as learnt when they are opened, is not what they yield: files of /proc read
// as size 0. The environment of a process of our own holds the bytes, and a link named like a
// model points at it.
#include "tests/loaders/3ds/TdsTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace tdsfile;

namespace
{
// A sleeping process whose environment block is the given bytes (they end with a zero byte, as
// every environment block does).
class EnvironmentHolder
{
public:
    explicit EnvironmentHolder(const std::string& bytes)
    {
        std::vector<std::string> strings;
        std::string::size_type start = 0;
        for (std::string::size_type end; (end = bytes.find('\0', start)) != std::string::npos;
             start = end + 1)
            strings.push_back(bytes.substr(start, end - start));
        strings.push_back(bytes.substr(start));
        std::vector<char*> environment;
        for (std::string& text : strings)
            environment.push_back(&text[0]);
        environment.push_back(nullptr);
        char sleep[] = "sleep";
        char seconds[] = "60";
        char* arguments[] = {sleep, seconds, nullptr};
        EXPECT_EQ(
            0, posix_spawn(&m_pid, "/bin/sleep", nullptr, nullptr, arguments, environment.data()));
        // posix_spawn may return while the new program is still being set up: wait until its
        // environment reads as given.
        for (int tries = 0; tries < 5000 && Read() != bytes + '\0'; ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~EnvironmentHolder()
    {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    std::string File() const { return "/proc/" + std::to_string(m_pid) + "/environ"; }
    std::string Read() const
    {
        std::ifstream in(File(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    pid_t m_pid = 0;
};
}  // namespace

TEST(TdsSizeZeroFile, ReadsWhatTheFileYieldsWhateverItsSizeSaid)
{
    struct Case
    {
        const char* what;
        std::string bytes;
    };
    // The cube's main chunk as it is, and with a length that only the end of the file bounds.
    std::string endless = CubeFile();
    endless.replace(2, 4, U32(0x7FFFFFFF));
    const Case cases[] = {{"a whole file", CubeFile()}, {"a main chunk of 2 GiB", endless}};
    for (const Case& c : cases)
    {
        EnvironmentHolder holder(c.bytes);
        ScratchFile link("size-zero.3ds");
        ASSERT_EQ(0, symlink(holder.File().c_str(), link.Name())) << c.what;
        QV3dsLoader loader;
        QVSGMesh mesh;
        ASSERT_TRUE(loader.Load(&mesh.GetLoaders(), link.Text())) << c.what;
        EXPECT_EQ(ExpectedFacts(CubeVertices(), CubeFaces(), CubePairs()), FactsOf(mesh)) << c.what;
    }
}
