#include "apps/qvaplayer/LocalPaths.h"

#include "apps/qvaplayer/AppletElement.h"
#include "platform/Directory.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace
{
bool WindowsPaths() { return QVPathSeparator() == '\\'; }

bool IsSeparator(char c) { return c == '/' || (WindowsPaths() && c == '\\'); }

std::size_t LastSeparator(const std::string& path)
{
    return WindowsPaths() ? path.find_last_of("/\\") : path.rfind('/');
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string PercentDecoded(const std::string& text)
{
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at)
    {
        if (text[at] == '%' && at + 2 < text.size() && HexValue(text[at + 1]) >= 0 &&
            HexValue(text[at + 2]) >= 0)
        {
            out += static_cast<char>(HexValue(text[at + 1]) * 16 + HexValue(text[at + 2]));
            at += 2;
        }
        else
            out += text[at];
    }
    return out;
}

// Whether text begins with a URL scheme ("name:"), which a Windows drive letter is not.
bool HasScheme(const std::string& text, std::string& scheme)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon < 2 ||
        !std::isalpha(static_cast<unsigned char>(text[0])))
        return false;
    for (std::size_t i = 0; i < colon; ++i)
    {
        const char c = text[i];
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return false;
    }
    scheme = text.substr(0, colon);
    for (char& c : scheme)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return true;
}

std::string NativeSeparators(std::string path)
{
    if (WindowsPaths())
    {
        for (char& c : path)
        {
            if (c == '/')
                c = '\\';
        }
    }
    return path;
}

// A reference that begins with "//" names a host before its path ("//host/share/x.qva",
// "file://host/x.qva"): only this machine's files are read ("" or "localhost"), and the host is
// taken off. False for another host.
bool TakeLocalHost(std::string& reference)
{
    if (reference.compare(0, 2, "//") != 0)
        return true;
    const std::size_t slash = reference.find('/', 2);
    const std::string host =
        reference.substr(2, slash == std::string::npos ? std::string::npos : slash - 2);
    if (!host.empty() && !SameTextIgnoringCase(host, "localhost"))
        return false;
    reference = slash == std::string::npos ? std::string() : reference.substr(slash);
    return true;
}

// Whether a Windows path leaves the local drives: "\\host\share" (a network share), "\\?\" and
// "\\.\" (device paths) and "\??\" (object paths, which reach shares too).
bool IsNetworkOrDevicePath(const std::string& path)
{
    if (!WindowsPaths() || path.size() < 2 || !IsSeparator(path[0]))
        return false;
    return IsSeparator(path[1]) || path.compare(1, 3, "??\\") == 0;
}
}  // namespace

// The path with "." and "name/.." components taken out, as a browser resolves a relative URL
// (a ".." above the root stays at the root; above a relative start it is kept).
static std::string WithoutDotSegments(const std::string& path)
{
    std::size_t start = 0;
    if (IsAbsolutePath(path))
    {
        start = IsSeparator(path[0]) ? 1 : 3;
        while (start < path.size() && IsSeparator(path[start]))
            ++start;
    }
    std::vector<std::string> kept;
    std::size_t at = start;
    while (at <= path.size())
    {
        std::size_t end = at;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        const std::string part = path.substr(at, end - at);
        if (part == "..")
        {
            if (!kept.empty() && kept.back() != "..")
                kept.pop_back();
            else if (start == 0)
                kept.push_back(part);
        }
        else if (!part.empty() && part != ".")
            kept.push_back(part);
        at = end + 1;
    }
    // Linux reads "//x" as "/x"; one separator says so plainly.
    std::string out = path.substr(0, WindowsPaths() ? start : std::min<std::size_t>(start, 1));
    for (std::size_t i = 0; i < kept.size(); ++i)
        out += (i == 0 ? "" : std::string(1, QVPathSeparator())) + kept[i];
    return out.empty() ? std::string(".") : out;
}

bool IsAbsolutePath(const std::string& path)
{
    if (!path.empty() && IsSeparator(path[0]))
        return true;
    return WindowsPaths() && path.size() >= 3 &&
           std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
           IsSeparator(path[2]);
}

std::string AbsolutePath(const std::string& path)
{
    if (IsAbsolutePath(path))
        return path;
    std::vector<char> buffer(260);
    int length = QVGetCurrentDir(buffer.data(), static_cast<int>(buffer.size()));
    if (length >= static_cast<int>(buffer.size()))
    {
        buffer.resize(static_cast<std::size_t>(length) + 1);
        length = QVGetCurrentDir(buffer.data(), static_cast<int>(buffer.size()));
    }
    if (length < 0 || length >= static_cast<int>(buffer.size()))
        return path;
    std::string relative = path;
    while (relative.size() >= 2 && relative[0] == '.' && IsSeparator(relative[1]))
        relative.erase(0, 2);
    return JoinPath(std::string(buffer.data(), static_cast<std::size_t>(length)), relative);
}

std::string DirectoryOf(const std::string& path)
{
    const std::size_t separator = LastSeparator(path);
    if (separator == std::string::npos)
        return ".";
    return separator == 0 ? path.substr(0, 1) : path.substr(0, separator);
}

std::string FileNameOf(const std::string& path)
{
    const std::size_t separator = LastSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string JoinPath(const std::string& directory, const std::string& name)
{
    if (directory.empty() || directory == ".")
        return name;
    if (IsSeparator(directory.back()))
        return directory + name;
    return directory + QVPathSeparator() + name;
}

std::string FileUrlOf(const std::string& absolutePath)
{
    std::string url = "file://";
    if (!absolutePath.empty() && !IsSeparator(absolutePath[0]))
        url += '/';  // a drive letter
    for (char c : absolutePath)
    {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (IsSeparator(c))
            url += '/';
        else if (std::isalnum(byte) ||
                 std::string("-._~:!$&'()*+,;=@").find(c) != std::string::npos)
            url += c;
        else
        {
            static const char digits[] = "0123456789ABCDEF";
            url += '%';
            url += digits[byte >> 4];
            url += digits[byte & 15];
        }
    }
    return url;
}

bool ResolveSource(const std::string& source, const std::string& pageDirectory, std::string& path,
                   std::string& error)
{
    const std::string remote = "cannot fetch " + source + ": the player reads local files only";
    std::string reference = source;
    std::string scheme;
    const bool drive = WindowsPaths() && IsAbsolutePath(reference);
    if (!drive && HasScheme(reference, scheme))
    {
        // file:///path, file://localhost/path; on Windows file:///C:/path.
        reference = reference.substr(scheme.size() + 1);
        if (scheme != "file" || !TakeLocalHost(reference))
        {
            error = remote;
            return false;
        }
        if (WindowsPaths() && reference.size() >= 3 && reference[0] == '/' && reference[2] == ':')
            reference.erase(0, 1);
    }
    else if (!drive && !TakeLocalHost(reference))
    {
        error = remote;
        return false;
    }
    if (!drive)
        reference = PercentDecoded(reference.substr(0, reference.find_first_of("?#")));
    if (reference.empty())
    {
        error = "an applet has no source (src or data)";
        return false;
    }
    // Checked after decoding: "%5C%5Chost" and "/\host" name a share as "//host" does.
    reference = NativeSeparators(reference);
    if (IsNetworkOrDevicePath(reference))
    {
        error = remote;
        return false;
    }
    path = WithoutDotSegments(IsAbsolutePath(reference) ? reference
                                                        : JoinPath(pageDirectory, reference));
    return true;
}
