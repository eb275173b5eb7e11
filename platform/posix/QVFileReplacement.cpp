// Replacing files on POSIX systems, where file names are bytes (taken as UTF-8) and rename moves
// a file over another atomically.
#include "platform/QVFileReplacement.h"

#include "platform/posix/Utf8Names.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// Creates a file that did not exist, named after target, for writing; its name goes to name.
// Exclusive creation never follows or reuses anything that is already there.
int CreateTemporary(const std::string& target, std::string& name)
{
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        name = target + ".tmp" + std::to_string(static_cast<long>(getpid())) + "-" +
               std::to_string(serial++);
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
        {
            return fd;
        }
    }
    return -1;
}
}  // namespace

QVFileReplacement::QVFileReplacement() : m_stream(nullptr) {}

QVFileReplacement::~QVFileReplacement() { Discard(); }

QVFileReplacement::Start QVFileReplacement::Begin(const unsigned short* path)
{
    std::string name;
    if (path == nullptr || !QVUtf16ToUtf8(path, name))
    {
        Discard();
        return Failed;
    }
    return Begin(name.c_str());
}

QVFileReplacement::Start QVFileReplacement::Begin(const char* path)
{
    Discard();
    if (path == nullptr || *path == '\0')
    {
        return Failed;
    }
    struct stat entry;
    struct stat file;
    bool replacing = false;
    if (lstat(path, &entry) != 0)
    {
        if (errno != ENOENT)
        {
            return Failed;
        }
        m_target = path;
    }
    else
    {
        // stat follows links: a link to a regular file counts as that file.
        if (stat(path, &file) != 0 || !S_ISREG(file.st_mode))
        {
            return NotAFile;
        }
        // A file we may not write is not ours to replace either, though its directory may be.
        if (access(path, W_OK) != 0)
        {
            return Failed;
        }
        if (S_ISLNK(entry.st_mode))
        {
            char* real = realpath(path, nullptr);
            if (real == nullptr)
            {
                return Failed;
            }
            m_target = real;
            std::free(real);
        }
        else
        {
            m_target = path;
        }
        replacing = true;
    }

    const int fd = CreateTemporary(m_target, m_temporary);
    if (fd < 0)
    {
        m_target.clear();
        m_temporary.clear();
        return Failed;
    }
    // The new version keeps the permissions of the one it replaces (a new file gets the umask's).
    if (replacing)
    {
        (void)fchmod(fd, file.st_mode & 0777);
    }
    m_stream = fdopen(fd, "wb");
    if (m_stream == nullptr)
    {
        close(fd);
        Discard();
        return Failed;
    }
    return Started;
}

bool QVFileReplacement::Commit()
{
    if (m_stream == nullptr)
    {
        return false;
    }
    // On disk before the move, so that a crash cannot leave the name with an empty file.
    bool ok = std::fflush(m_stream) == 0 && fsync(fileno(m_stream)) == 0;
    ok = std::fclose(m_stream) == 0 && ok;
    m_stream = nullptr;
    ok = ok && std::rename(m_temporary.c_str(), m_target.c_str()) == 0;
    if (!ok)
    {
        unlink(m_temporary.c_str());
    }
    m_temporary.clear();
    m_target.clear();
    return ok;
}

void QVFileReplacement::Discard()
{
    if (m_stream != nullptr)
    {
        std::fclose(m_stream);
        m_stream = nullptr;
    }
    if (!m_temporary.empty())
    {
        unlink(m_temporary.c_str());
    }
    m_temporary.clear();
    m_target.clear();
}
