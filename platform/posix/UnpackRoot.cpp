// Unpacking below a root directory on POSIX systems: every directory on the way is opened
// relative to its parent with O_NOFOLLOW, so a symbolic link inside the root (left there by
// anyone) is never followed, and files are created with openat and moved with renameat inside
// the directory that holds them.
#include "platform/UnpackRoot.h"

#include <atomic>
#include <cerrno>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

struct QVUnpackRoot::State
{
    int root = -1;
    // The file begun: its directory, its temporary name, its final name, its descriptor.
    int directory = -1;
    int file = -1;
    std::string temporary;
    std::string name;
    QVUnpackAttributes attributes;
};

namespace
{
bool IsPlainComponent(const std::string& component)
{
    return !component.empty() && component != "." && component != ".." &&
           component.find('/') == std::string::npos && component.find('\0') == std::string::npos;
}

// Opens the directory component below parent, creating it when create is set and it is
// missing. A link, a file or anything else in its place fails.
int OpenDirectory(int parent, const std::string& component, bool create)
{
    const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int fd = openat(parent, component.c_str(), flags);
    if (fd < 0 && errno == ENOENT && create)
    {
        if (mkdirat(parent, component.c_str(), 0777) != 0 && errno != EEXIST)
            return -1;
        fd = openat(parent, component.c_str(), flags);
    }
    return fd;
}

// Opens the directory made of the first count components of path, creating what is missing.
// Every component is checked before anything is made.
int WalkDirectories(int root, const std::vector<std::string>& path, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
    {
        if (!IsPlainComponent(path[i]))
            return -1;
    }
    int current = dup(root);
    for (std::size_t i = 0; i < count && current >= 0; ++i)
    {
        const int next = OpenDirectory(current, path[i], true);
        close(current);
        current = next;
    }
    return current;
}

bool WriteAll(int fd, const unsigned char* data, std::size_t size)
{
    while (size > 0)
    {
        const ssize_t written = write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

timespec ToTimespec(std::int64_t seconds)
{
    timespec value = {};
    value.tv_sec = static_cast<time_t>(seconds);
    return value;
}
}  // namespace

QVUnpackRoot::QVUnpackRoot() : m_state(new State) {}

QVUnpackRoot::~QVUnpackRoot()
{
    Close();
    delete m_state;
}

bool QVUnpackRoot::Open(const char* directory)
{
    Close();
    if (directory == nullptr || *directory == '\0')
        return false;
    m_state->root = open(directory, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return m_state->root >= 0;
}

void QVUnpackRoot::Close()
{
    DiscardFile();
    if (m_state->root >= 0)
        close(m_state->root);
    m_state->root = -1;
}

bool QVUnpackRoot::MakeDirectories(const std::vector<std::string>& path, bool)
{
    if (m_state->root < 0 || path.empty())
        return false;
    const int fd = WalkDirectories(m_state->root, path, path.size());
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

bool QVUnpackRoot::BeginFile(const std::vector<std::string>& path, bool,
                             const QVUnpackAttributes& attributes)
{
    DiscardFile();
    if (m_state->root < 0 || path.empty() || !IsPlainComponent(path.back()))
        return false;
    const int directory = WalkDirectories(m_state->root, path, path.size() - 1);
    if (directory < 0)
        return false;

    // A name of our own beside the file; exclusive creation never reuses anything there.
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        std::string temporary = ".qvunpack-" + std::to_string(static_cast<long>(getpid())) + "-" +
                                std::to_string(serial++);
        const int fd = openat(directory, temporary.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0)
        {
            m_state->directory = directory;
            m_state->file = fd;
            m_state->temporary = temporary;
            m_state->name = path.back();
            m_state->attributes = attributes;
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    close(directory);
    return false;
}

bool QVUnpackRoot::Write(const void* data, std::size_t size)
{
    return m_state->file >= 0 &&
           WriteAll(m_state->file, static_cast<const unsigned char*>(data), size);
}

bool QVUnpackRoot::CommitFile(const QVUnpackTimes& times)
{
    if (m_state->file < 0)
        return false;
    State& state = *m_state;
    bool ok = true;
    if (state.attributes.unixPermissions >= 0)
    {
        ok = fchmod(state.file, static_cast<mode_t>(state.attributes.unixPermissions & 0777)) == 0;
    }
    else if (state.attributes.readOnly)
    {
        // The default permissions (the umask's) without any write bit.
        struct stat status;
        ok = fstat(state.file, &status) == 0 && fchmod(state.file, status.st_mode & 0555) == 0;
    }
    const timespec fileTimes[2] = {ToTimespec(times.access), ToTimespec(times.write)};
    ok = ok && futimens(state.file, fileTimes) == 0;
    ok = close(state.file) == 0 && ok;
    state.file = -1;
    // rename replaces a file or a link of that name (never what a link points at); it refuses
    // to replace a directory.
    ok = ok && renameat(state.directory, state.temporary.c_str(), state.directory,
                        state.name.c_str()) == 0;
    if (ok)
    {
        close(state.directory);
        state.directory = -1;
        state.temporary.clear();
        return true;
    }
    DiscardFile();
    return false;
}

void QVUnpackRoot::DiscardFile()
{
    State& state = *m_state;
    if (state.file >= 0)
        close(state.file);
    state.file = -1;
    if (state.directory >= 0)
    {
        if (!state.temporary.empty())
            unlinkat(state.directory, state.temporary.c_str(), 0);
        close(state.directory);
    }
    state.directory = -1;
    state.temporary.clear();
}
