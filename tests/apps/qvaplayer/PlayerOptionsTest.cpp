// The player's command line, and how an applet's source becomes a local file.
#include "apps/qvaplayer/PlayerOptions.h"
#include "apps/qvaplayer/LocalPaths.h"

#include "platform/Directory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// Parses the blank-separated words (after the program name); returns the error, or a summary
// "plugin|download|document|package?|name=value,...".
std::string Parse(std::vector<std::string> words)
{
    words.insert(words.begin(), "qvaplayer");
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(&word[0]);
    PlayerOptions options;
    std::string error;
    if (!ParsePlayerOptions(static_cast<int>(argv.size()), argv.data(), options, error))
        return "error: " + error;
    std::string out = options.pluginPath + "|" + options.downloadParent + "|" + options.document +
                      "|" + (options.isPackage ? "package" : "page") + "|";
    for (const auto& attribute : options.attributes)
        out += attribute.first + "=" + attribute.second + ",";
    return out;
}

// The path with the platform's separators ('/' written in the table).
std::string Native(std::string path)
{
    for (char& c : path)
    {
        if (c == '/')
            c = QVPathSeparator();
    }
    return path;
}
}  // namespace

TEST(PlayerOptions, ReadsPagesPackagesAndOptions)
{
    const struct
    {
        std::vector<std::string> words;
        const char* parsed;
    } cases[] = {
        {{"page.html"}, "||page.html|page|"},
        {{"--plugin", "np.so", "page.htm"}, "np.so||page.htm|page|"},
        {{"--download-dir", "d", "--plugin", "p", "x.html"}, "p|d|x.html|page|"},
        {{"a.QVA"}, "||a.QVA|package|"},
        {{"a.qva", "width=100", "k=v=w", "e="}, "||a.qva|package|width=100,k=v=w,e=,"},
        {{"--", "--odd.html"}, "||--odd.html|page|"},
        {{}, "error: no page or package given"},
        {{"--plugin"}, "error: --plugin needs a value"},
        {{"--plugin", "", "a.qva"}, "error: --plugin needs a value"},
        {{"--download-dir"}, "error: --download-dir needs a value"},
        {{"--verbose", "a.qva"}, "error: unknown option --verbose"},
        {{"page.html", "a=b"},
         "error: attributes (a=b) are given with a package only; a page has its own"},
        {{"a.qva", "novalue"}, "error: attribute novalue is not of the form name=value"},
        {{"a.qva", "=v"}, "error: attribute =v is not of the form name=value"},
    };
    for (const auto& one : cases)
        EXPECT_EQ(Parse(one.words), one.parsed) << "words: " << one.words.size();
}

TEST(LocalPaths, ResolvesSourcesAgainstThePage)
{
    const std::string page = Native("/pages/site");
    const struct
    {
        const char* source;
        const char* path;  // '/' for the platform's separator; empty: refused
    } cases[] = {
        {"a.qva", "/pages/site/a.qva"},
        {"sub/a.qva", "/pages/site/sub/a.qva"},
        {"my%20applet.qva?x=1#y", "/pages/site/my applet.qva"},
        {"/abs/a.qva", "/abs/a.qva"},
        {"../a.qva", "/pages/a.qva"},
        {"./x/../b.qva", "/pages/site/b.qva"},
        {"../../../../c.qva", "/c.qva"},
        {"file:///abs/b%2Bc.qva", "/abs/b+c.qva"},
        {"file://localhost/abs/c.qva", "/abs/c.qva"},
        {"FILE:///abs/d.qva", "/abs/d.qva"},
        {"http://example.com/a.qva", ""},
        {"https://example.com/a.qva", ""},
        {"ab:c", ""},
        {"", ""},
        {"?only-query", ""},
    };
    for (const auto& one : cases)
    {
        std::string path, error;
        const bool resolved = ResolveSource(one.source, page, path, error);
        if (one.path[0] == '\0')
        {
            EXPECT_FALSE(resolved) << one.source << " gave " << path;
            EXPECT_FALSE(error.empty()) << one.source;
        }
        else
        {
            EXPECT_TRUE(resolved) << one.source << ": " << error;
            EXPECT_EQ(path, Native(one.path)) << one.source;
        }
    }
}

// Sources that name another host, a network share or a device are refused like other URLs;
// what Linux reads as a local file stays one there.
TEST(LocalPaths, ReadsLocalFilesOnly)
{
    const struct
    {
        const char* source;
        const char* posix;  // '/' for the platform's separator; empty: refused
        const char* windows;
    } cases[] = {
        {"//host/share/x.qva", "", ""},
        {"file://host/share/x.qva", "", ""},
        {"//localhost/abs/x.qva", "/abs/x.qva", ""},
        {"file:////host/share/x.qva", "/host/share/x.qva", ""},
        {"///abs//x.qva", "/abs/x.qva", ""},
        {"/\\host/x.qva", "/\\host/x.qva", ""},
        {"%5C%5Chost%5Cx.qva", "/pages/site/\\\\host\\x.qva", ""},
        {"\\\\.\\pipe\\x.qva", "/pages/site/\\\\.\\pipe\\x.qva", ""},
        {"\\\\?\\C:\\x.qva", "/pages/site/\\\\", ""},
        {"\\??\\UNC\\host\\x.qva", "/pages/site/\\", ""},
        {"file:///C:/x.qva", "/C:/x.qva", "C:/x.qva"},
        {"C:\\d\\x.qva", "/pages/site/C:\\d\\x.qva", "C:/d/x.qva"},
    };
    const bool windows = QVPathSeparator() == '\\';
    for (const auto& one : cases)
    {
        std::string path, error;
        const std::string expected = windows ? one.windows : one.posix;
        const bool resolved = ResolveSource(one.source, Native("/pages/site"), path, error);
        EXPECT_EQ(resolved ? path : error, expected.empty()
                                               ? "cannot fetch " + std::string(one.source) +
                                                     ": the player reads local files only"
                                               : Native(expected))
            << one.source;
    }
}

TEST(LocalPaths, SplitsJoinsAndMakesFileUrls)
{
    EXPECT_EQ(DirectoryOf(Native("/a/b/c.html")), Native("/a/b"));
    EXPECT_EQ(DirectoryOf("c.html"), ".");
    EXPECT_EQ(DirectoryOf(Native("/c.html")), Native("/"));
    EXPECT_EQ(FileNameOf(Native("/a/b/c.qva")), "c.qva");
    EXPECT_EQ(JoinPath(Native("/a/"), "b"), Native("/a/b"));
    EXPECT_EQ(JoinPath(".", "b"), "b");
    EXPECT_EQ(FileUrlOf(Native("/a b/c%.qva")), "file:///a%20b/c%25.qva");
    EXPECT_TRUE(IsAbsolutePath(AbsolutePath("relative.qva")));
}
