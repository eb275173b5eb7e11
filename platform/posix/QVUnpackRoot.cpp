// Unpacking below a root directory on POSIX systems: every directory on the way is opened
// relative to its parent with O_NOFOLLOW, so a symbolic link inside the root (left there by
// anyone) is never followed, and files are created with openat (exclusively) and moved with
// renameat inside the directory that holds them.
#include "platform/QVUnpackRoot.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

struct QVUnpackRoot::State
{
    int root = -1;
    // The directory of the last file, kept open: a package's files of one directory mostly
    // follow each other.
    std::vector<std::string> directoryPath;
    int directory = -1;
    // The file begun: its descriptor, the name it is written under (its own, or a temporary one
    // when it replaces a file), its final name.
    int file = -1;
    std::string writing;
    std::string name;
    QVUnpackAttributes attributes;
    // Directories made, and how many more may be.
    std::uint64_t made = 0;
    std::uint64_t allowed = UINT64_MAX;
};

namespace
{
bool IsPlainComponent(const std::string& component)
{
    return !component.empty() && component != "." && component != ".." &&
           component.find('/') == std::string::npos && component.find('\0') == std::string::npos;
}

// Opens the directory component below parent, creating it when it is missing and made is below
// allowed (counting it in made). A link, a file or anything else in its place fails.
int OpenDirectory(int parent, const std::string& component, std::uint64_t& made,
                  std::uint64_t allowed)
{
    const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int fd = openat(parent, component.c_str(), flags);
    if (fd < 0 && errno == ENOENT && made < allowed)
    {
        if (mkdirat(parent, component.c_str(), 0777) == 0)
            ++made;
        else if (errno != EEXIST)
            return -1;
        fd = openat(parent, component.c_str(), flags);
    }
    return fd;
}

// Opens the directory made of the first count components of path, creating what is missing.
// Every component is checked before anything is made.
int WalkDirectories(int root, const std::vector<std::string>& path, std::size_t count,
                    std::uint64_t& made, std::uint64_t allowed)
{
    for (std::size_t i = 0; i < count; ++i)
    {
        if (!IsPlainComponent(path[i]))
            return -1;
    }
    int current = dup(root);
    for (std::size_t i = 0; i < count && current >= 0; ++i)
    {
        const int next = OpenDirectory(current, path[i], made, allowed);
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
    m_state->made = 0;
    m_state->allowed = UINT64_MAX;
    return m_state->root >= 0;
}

void QVUnpackRoot::Close()
{
    DiscardFile();
    if (m_state->directory >= 0)
        close(m_state->directory);
    m_state->directory = -1;
    m_state->directoryPath.clear();
    if (m_state->root >= 0)
        close(m_state->root);
    m_state->root = -1;
}

bool QVUnpackRoot::MakeDirectories(const std::vector<std::string>& path, bool)
{
    if (m_state->root < 0 || path.empty())
        return false;
    const int fd =
        WalkDirectories(m_state->root, path, path.size(), m_state->made, m_state->allowed);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

void QVUnpackRoot::LimitNewDirectories(std::uint64_t count)
{
    m_state->allowed = count > UINT64_MAX - m_state->made ? UINT64_MAX : m_state->made + count;
}

std::uint64_t QVUnpackRoot::GetDirectoriesMade() const { return m_state->made; }

bool QVUnpackRoot::BeginFile(const std::vector<std::string>& path, bool,
                             const QVUnpackAttributes& attributes)
{
    DiscardFile();
    State& state = *m_state;
    if (state.root < 0 || path.empty() || !IsPlainComponent(path.back()))
        return false;
    const std::vector<std::string> parent(path.begin(), path.end() - 1);
    if (state.directory < 0 || parent != state.directoryPath)
    {
        if (state.directory >= 0)
            close(state.directory);
        state.directory =
            WalkDirectories(state.root, path, parent.size(), state.made, state.allowed);
        state.directoryPath = parent;
        if (state.directory < 0)
            return false;
    }

    // A free name is written directly. A name that is taken is written to a name of our own
    // beside it and moved over it once complete. Exclusive creation never opens anything that
    // is already there.
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    std::string writing = path.back();
    int fd = openat(state.directory, writing.c_str(), flags, 0666);
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; fd < 0 && errno == EEXIST && attempt < 100; ++attempt)
    {
        // With a backslash, which no file an entry makes can have in its name (a backslash
        // separates the components of stored names).
        writing = ".qvunpack\\" + std::to_string(static_cast<long>(getpid())) + "-" +
                  std::to_string(serial++);
        fd = openat(state.directory, writing.c_str(), flags, 0666);
    }
    if (fd < 0)
        return false;
    state.file = fd;
    state.writing = writing;
    state.name = path.back();
    state.attributes = attributes;
    return true;
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
    if (ok && state.writing != state.name)
        ok = renameat(state.directory, state.writing.c_str(), state.directory,
                      state.name.c_str()) == 0;
    if (ok)
    {
        state.writing.clear();
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
    // What was written is ours alone: a file made under its own name, or the temporary one.
    if (!state.writing.empty() && state.directory >= 0)
        unlinkat(state.directory, state.writing.c_str(), 0);
    state.writing.clear();
}
