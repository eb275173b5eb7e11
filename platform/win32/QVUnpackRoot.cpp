// Unpacking below a root directory on Windows: 16-bit names with the "\\?\" prefix (no length
// limit of 260 characters, no reinterpretation of names), directories checked on the way so
// that no junction or symbolic link inside the root is entered, and files created (as new
// files only) with their attributes, moved over an existing one with MoveFileEx.
#include "platform/QVUnpackRoot.h"

#include <atomic>
#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

#include <windows.h>

struct QVUnpackRoot::State
{
    std::wstring root;  // "\\?\" form, with a trailing separator
    // The file begun: its handle, the name it is written under (its own, or a temporary one when
    // it replaces a file), its final name.
    HANDLE file = INVALID_HANDLE_VALUE;
    std::wstring writing;
    std::wstring name;
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;  // the entry's, given at creation and once more
    // Directories made, and how many more may be.
    std::uint64_t made = 0;
    std::uint64_t allowed = UINT64_MAX;
};

namespace
{
bool ToWide(UINT codePage, DWORD flags, const std::string& text, std::wstring& out)
{
    out.clear();
    if (text.empty())
        return true;
    const int units = MultiByteToWideChar(codePage, flags, text.data(),
                                          static_cast<int>(text.size()), nullptr, 0);
    if (units <= 0)
        return false;
    out.assign(static_cast<std::size_t>(units), L'\0');
    return MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), &out[0],
                               units) == units;
}

bool IsDeviceName(const std::wstring& component)
{
    // The part before the first dot, without trailing blanks, names a device whatever follows.
    std::wstring base = component.substr(0, component.find(L'.'));
    while (!base.empty() && base.back() == L' ')
        base.pop_back();
    for (wchar_t& c : base)
        c = static_cast<wchar_t>(towupper(c));
    static const wchar_t* const devices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : devices)
        if (base == device)
            return true;
    // COM1..COM9 and LPT1..LPT9 (also with the superscript digits 1, 2 and 3).
    if (base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0))
    {
        const wchar_t digit = base[3];
        return (digit >= L'1' && digit <= L'9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
    }
    return false;
}

// A component that names a plain file or directory, in its 16-bit form.
bool ToComponent(const std::string& bytes, bool utf8, std::wstring& out)
{
    if (bytes.empty() || bytes == "." || bytes == "..")
        return false;
    const bool converted =
        utf8 ? ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, out) : ToWide(CP_OEMCP, 0, bytes, out);
    if (!converted || out.empty())
        return false;
    for (wchar_t c : out)
    {
        if (c < 32 || std::wcschr(L"<>:\"/\\|?*", c) != nullptr)
            return false;
    }
    if (out.back() == L'.' || out.back() == L' ')
        return false;
    return !IsDeviceName(out);
}

// Appends a component to a directory path.
void Join(std::wstring& path, const std::wstring& component)
{
    if (path.empty() || path.back() != L'\\')
        path += L'\\';
    path += component;
}

// The directory of the first count components below root, created where missing while made is
// below allowed (each one counted in made). Every component is checked before anything is made;
// anything in the way that is not a plain directory (a file, a junction, a link) fails.
bool WalkDirectories(const std::wstring& root, const std::vector<std::string>& path,
                     std::size_t count, bool utf8, std::wstring& out, std::uint64_t& made,
                     std::uint64_t allowed)
{
    std::vector<std::wstring> components(count);
    for (std::size_t i = 0; i < count; ++i)
    {
        if (!ToComponent(path[i], utf8, components[i]))
            return false;
    }
    out = root;
    for (const std::wstring& component : components)
    {
        Join(out, component);
        DWORD attributes = GetFileAttributesW(out.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
        {
            if (made >= allowed)
                return false;
            if (CreateDirectoryW(out.c_str(), nullptr))
                ++made;
            else if (GetLastError() != ERROR_ALREADY_EXISTS)
                return false;
            attributes = GetFileAttributesW(out.c_str());
        }
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
            (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return false;
    }
    return true;
}

FILETIME ToFileTime(std::int64_t unixSeconds)
{
    // 100-nanosecond steps since 1601-01-01.
    const std::uint64_t ticks =
        static_cast<std::uint64_t>(unixSeconds + 11644473600LL) * 10000000ULL;
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
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
    std::wstring given;
    if (directory == nullptr || *directory == '\0' || !ToWide(CP_ACP, 0, directory, given))
        return false;
    const DWORD size = GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return false;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(given.c_str(), size, &full[0], nullptr);
    if (length == 0 || length >= size)
        return false;
    full.resize(length);
    if (full.back() != L'\\' && full.back() != L'/')
        full += L'\\';
    std::wstring prefixed;
    if (full.compare(0, 4, L"\\\\?\\") == 0)
        prefixed = full;
    else if (full.compare(0, 2, L"\\\\") == 0)
        prefixed = L"\\\\?\\UNC\\" + full.substr(2);
    else
        prefixed = L"\\\\?\\" + full;
    const DWORD attributes = GetFileAttributesW(prefixed.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    m_state->root = prefixed;
    m_state->made = 0;
    m_state->allowed = UINT64_MAX;
    return true;
}

void QVUnpackRoot::Close()
{
    DiscardFile();
    m_state->root.clear();
}

bool QVUnpackRoot::MakeDirectories(const std::vector<std::string>& path, bool utf8)
{
    std::wstring directory;
    return !m_state->root.empty() && !path.empty() &&
           WalkDirectories(m_state->root, path, path.size(), utf8, directory, m_state->made,
                           m_state->allowed);
}

void QVUnpackRoot::LimitNewDirectories(std::uint64_t count)
{
    m_state->allowed = count > UINT64_MAX - m_state->made ? UINT64_MAX : m_state->made + count;
}

std::uint64_t QVUnpackRoot::GetDirectoriesMade() const { return m_state->made; }

bool QVUnpackRoot::BeginFile(const std::vector<std::string>& path, bool utf8,
                             const QVUnpackAttributes& attributes)
{
    DiscardFile();
    std::wstring directory;
    std::wstring name;
    if (m_state->root.empty() || path.empty() || !ToComponent(path.back(), utf8, name) ||
        !WalkDirectories(m_state->root, path, path.size() - 1, utf8, directory, m_state->made,
                         m_state->allowed))
        return false;

    DWORD flags = 0;
    if (attributes.readOnly)
        flags |= FILE_ATTRIBUTE_READONLY;
    if (attributes.hidden)
        flags |= FILE_ATTRIBUTE_HIDDEN;
    if (attributes.system)
        flags |= FILE_ATTRIBUTE_SYSTEM;
    if (attributes.archive)
        flags |= FILE_ATTRIBUTE_ARCHIVE;
    if (flags == 0)
        flags = FILE_ATTRIBUTE_NORMAL;

    // A free name is written directly. A name that is taken is written to a name of our own
    // beside it and moved over it once complete. CREATE_NEW never opens anything that is
    // already there.
    std::wstring target = directory;
    Join(target, name);
    std::wstring writing = target;
    HANDLE file =
        CreateFileW(writing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, flags, nullptr);
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0;
         file == INVALID_HANDLE_VALUE && attempt < 100 &&
         (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS);
         ++attempt)
    {
        writing = directory;
        Join(writing, L".qvunpack-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(serial++));
        file = CreateFileW(writing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, flags, nullptr);
    }
    if (file == INVALID_HANDLE_VALUE)
        return false;
    m_state->file = file;
    m_state->writing = writing;
    m_state->name = target;
    m_state->attributes = flags;
    return true;
}

bool QVUnpackRoot::Write(const void* data, std::size_t size)
{
    if (m_state->file == INVALID_HANDLE_VALUE)
        return false;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0)
    {
        const DWORD piece = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(m_state->file, bytes, piece, &written, nullptr) || written == 0)
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}

bool QVUnpackRoot::CommitFile(const QVUnpackTimes& times)
{
    State& state = *m_state;
    if (state.file == INVALID_HANDLE_VALUE)
        return false;
    const FILETIME creation = ToFileTime(times.creation);
    const FILETIME access = ToFileTime(times.access);
    const FILETIME write = ToFileTime(times.write);
    bool ok = SetFileTime(state.file, &creation, &access, &write) != 0;
    ok = CloseHandle(state.file) != 0 && ok;
    state.file = INVALID_HANDLE_VALUE;
    if (ok && state.writing != state.name)
    {
        // A read-only file of that name cannot be replaced: it loses the attribute first. A
        // directory there stays, and the move fails.
        const DWORD existing = GetFileAttributesW(state.name.c_str());
        if (existing != INVALID_FILE_ATTRIBUTES && !(existing & FILE_ATTRIBUTE_DIRECTORY) &&
            (existing & FILE_ATTRIBUTE_READONLY))
            SetFileAttributesW(state.name.c_str(), existing & ~FILE_ATTRIBUTE_READONLY);
        ok = MoveFileExW(state.writing.c_str(), state.name.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    }
    if (ok)
    {
        // The attributes given at creation are set once more by name: some file systems (Wine's
        // among them) drop them at creation, and a replaced file's name had its own before.
        SetFileAttributesW(state.name.c_str(), state.attributes);
        state.writing.clear();
        return true;
    }
    DiscardFile();
    return false;
}

void QVUnpackRoot::DiscardFile()
{
    State& state = *m_state;
    if (state.file != INVALID_HANDLE_VALUE)
        CloseHandle(state.file);
    state.file = INVALID_HANDLE_VALUE;
    // What was written is ours alone: a file made under its own name, or the temporary one. A
    // read-only file cannot be deleted as it is.
    if (!state.writing.empty())
    {
        SetFileAttributesW(state.writing.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(state.writing.c_str());
    }
    state.writing.clear();
}
