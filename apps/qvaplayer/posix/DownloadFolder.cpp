#include "apps/qvaplayer/DownloadFolder.h"

#include "apps/qvaplayer/LocalPaths.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

std::string CreateDownloadFolder(const std::string& parent)
{
    std::string base = parent;
    if (base.empty())
    {
        const char* temp = std::getenv("TMPDIR");
        base = temp != nullptr && temp[0] != '\0' ? temp : "/tmp";
    }
    std::string pattern = JoinPath(base, "qvaplayer-XXXXXX");
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr)
        return std::string();
    return AbsolutePath(buffer.data());
}

bool CopyIntoFolder(const std::string& source, const std::string& folder, const std::string& name,
                    unsigned long long maxBytes)
{
    const int in = open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    const std::string target = JoinPath(folder, name);
    const int out = open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (out < 0)
    {
        close(in);
        return false;
    }
    bool complete = true;
    std::vector<char> buffer(65536);
    for (unsigned long long copied = 0;;)
    {
        const ssize_t got = read(in, buffer.data(), buffer.size());
        if (got == 0)
            break;
        if (got < 0 || (copied += static_cast<unsigned long long>(got)) > maxBytes)
        {
            complete = false;
            break;
        }
        for (ssize_t written = 0; written < got;)
        {
            const ssize_t put =
                write(out, buffer.data() + written, static_cast<std::size_t>(got - written));
            if (put <= 0)
            {
                complete = false;
                break;
            }
            written += put;
        }
        if (!complete)
            break;
    }
    close(in);
    if (close(out) != 0)
        complete = false;
    if (!complete)
        unlink(target.c_str());
    return complete;
}

bool IsReadableFile(const std::string& path, unsigned long long& size)
{
    struct stat status;
    if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) ||
        access(path.c_str(), R_OK) != 0)
        return false;
    size = static_cast<unsigned long long>(status.st_size);
    return true;
}
