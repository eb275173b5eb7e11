// Replacing files on Windows: 16-bit names throughout (a narrow name is taken in the ANSI code
// page), MoveFileEx to move a file over another.
#include "platform/QVFileReplacement.h"

#include <atomic>
#include <cerrno>
#include <string>
#include <vector>

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

namespace
{
bool Convert(UINT codePage, DWORD flags, const char* text, std::wstring& out)
{
    const int units = MultiByteToWideChar(codePage, flags, text, -1, nullptr, 0);
    if (units <= 0)
    {
        return false;
    }
    out.assign(static_cast<std::size_t>(units), L'\0');
    if (MultiByteToWideChar(codePage, flags, text, -1, &out[0], units) != units)
    {
        return false;
    }
    out.resize(static_cast<std::size_t>(units) - 1);
    return true;
}

// The names are kept as UTF-8; a lone surrogate has no UTF-8 form and fails.
bool ToUtf8(const std::wstring& text, std::string& out)
{
    const int bytes = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.c_str(), -1, nullptr,
                                          0, nullptr, nullptr);
    if (bytes <= 0)
    {
        return false;
    }
    out.assign(static_cast<std::size_t>(bytes), '\0');
    if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.c_str(), -1, &out[0], bytes,
                            nullptr, nullptr) != bytes)
    {
        return false;
    }
    out.resize(static_cast<std::size_t>(bytes) - 1);
    return true;
}

std::wstring Wide(const std::string& utf8)
{
    std::wstring out;
    Convert(CP_UTF8, 0, utf8.c_str(), out);
    return out;
}

// What path names, links followed; for a regular file, its path (the final one behind a link)
// goes to target.
QVFileReplacement::Start Examine(const std::wstring& path, std::wstring& target)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
    {
        if (GetLastError() != ERROR_FILE_NOT_FOUND)
        {
            return QVFileReplacement::Failed;
        }
        target = path;
        return QVFileReplacement::Started;
    }
    // A file we may not write is not ours to replace either.
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0 && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
    {
        return QVFileReplacement::Failed;
    }
    // Open without access rights just to see what it is: devices (NUL, COM1, pipes) are no disk
    // files, a link to nothing cannot be opened.
    HANDLE handle =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
    {
        return QVFileReplacement::NotAFile;
    }
    BY_HANDLE_FILE_INFORMATION info;
    QVFileReplacement::Start start = QVFileReplacement::Started;
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    {
        start = QVFileReplacement::NotAFile;
    }
    else if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
    {
        wchar_t final[MAX_PATH * 4];
        const DWORD length = GetFinalPathNameByHandleW(handle, final, MAX_PATH * 4,
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0 || length >= MAX_PATH * 4)
        {
            start = QVFileReplacement::Failed;
        }
        else
        {
            target.assign(final, length);
        }
    }
    else
    {
        target = path;
    }
    CloseHandle(handle);
    return start;
}

// Creates a file that did not exist, named after target, for binary writing.
std::FILE* CreateTemporary(const std::wstring& target, std::wstring& name)
{
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        name = target + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(serial++);
        const int fd =
            _wopen(name.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                   _S_IREAD | _S_IWRITE);
        if (fd >= 0)
        {
            std::FILE* stream = _fdopen(fd, "wb");
            if (stream == nullptr)
            {
                _close(fd);
                DeleteFileW(name.c_str());
            }
            return stream;
        }
        if (errno != EEXIST)
        {
            return nullptr;
        }
    }
    return nullptr;
}
}  // namespace

QVFileReplacement::QVFileReplacement() : m_stream(nullptr) {}

QVFileReplacement::~QVFileReplacement() { Discard(); }

QVFileReplacement::Start QVFileReplacement::Begin(const char* path)
{
    std::wstring wide;
    if (path == nullptr || !Convert(CP_ACP, 0, path, wide))
    {
        Discard();
        return Failed;
    }
    std::vector<unsigned short> units(wide.begin(), wide.end());
    units.push_back(0);
    return Begin(units.data());
}

QVFileReplacement::Start QVFileReplacement::Begin(const unsigned short* path)
{
    Discard();
    if (path == nullptr || *path == 0)
    {
        return Failed;
    }
    // wchar_t holds UTF-16 units here, but it is a type of its own: copy rather than cast.
    std::wstring name;
    for (const unsigned short* p = path; *p != 0; ++p)
    {
        name += static_cast<wchar_t>(*p);
    }
    std::wstring target;
    const Start start = Examine(name, target);
    if (start != Started)
    {
        return start;
    }
    std::wstring temporary;
    if (!ToUtf8(target, m_target))
    {
        m_target.clear();
        return Failed;
    }
    m_stream = CreateTemporary(target, temporary);
    if (m_stream == nullptr)
    {
        m_target.clear();
        return Failed;
    }
    // The temporary name is the target's and an ASCII suffix, so it converts as the target did.
    ToUtf8(temporary, m_temporary);
    return Started;
}

bool QVFileReplacement::Commit()
{
    if (m_stream == nullptr)
    {
        return false;
    }
    bool ok = std::fflush(m_stream) == 0;
    ok = std::fclose(m_stream) == 0 && ok;
    m_stream = nullptr;
    const std::wstring temporary = Wide(m_temporary);
    ok = ok && MoveFileExW(temporary.c_str(), Wide(m_target).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok)
    {
        DeleteFileW(temporary.c_str());
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
        DeleteFileW(Wide(m_temporary).c_str());
    }
    m_temporary.clear();
    m_target.clear();
}
