#pragma once

#include <string>

// Paths of local files as the player handles them: the platform's separator ('\' on Windows,
// where '/' is accepted too; '/' on Linux) and page sources resolved as a browser resolves a
// relative URL against the page's address, for local files only.

// Whether path is absolute (on Windows also "X:\…", "\\server\…" and "\…").
bool IsAbsolutePath(const std::string& path);
// path made absolute against the working directory; unchanged when it cannot be read.
std::string AbsolutePath(const std::string& path);
// The directory part of path (without the separator), or "." for a bare name.
std::string DirectoryOf(const std::string& path);
// The last component of path.
std::string FileNameOf(const std::string& path);
// directory and name joined with the platform's separator.
std::string JoinPath(const std::string& directory, const std::string& name);
// The "file:" URL of an absolute path.
std::string FileUrlOf(const std::string& absolutePath);

// The local file an applet source names: a "file:" URL, an absolute path, or a reference
// relative to the page's directory ('/' separated, %XX escapes decoded, any "?query" or
// "#fragment" dropped, "." and ".." components resolved). False, with the reason in error, for
// what is not a local file (the player reads local files only): a URL of another scheme, a host
// other than "localhost" ("//host/x.qva", "file://host/x.qva") and, on Windows, network shares
// and device paths ("\\host\x.qva", "\\?\…", "\\.\…", "\??\…", in any spelling of the
// separators); and for an empty source.
bool ResolveSource(const std::string& source, const std::string& pageDirectory, std::string& path,
                   std::string& error);
