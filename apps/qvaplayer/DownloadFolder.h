#pragma once

#include <string>

// Where the player "downloads" a package before handing it to the plug-in, as a browser keeps a
// downloaded stream in a file of its own: every applet gets a fresh folder, so two applets never
// share one (and the plug-in unpacks each package beside its own copy). The folders stay after
// the player ends, as a browser's downloaded files do; the plug-in runs the applet from there.
//
// Windows: GetTempPathA, CreateDirectoryA, a copy through ReadFile and WriteFile. Linux: $TMPDIR
// or /tmp, mkdtemp, a copy through read and write.

// Makes a new empty folder "qvaplayer-…" in parent (empty: the system's temporary folder) and
// returns its path, or empty when none can be made.
std::string CreateDownloadFolder(const std::string& parent);

// Copies the file source into folder under name. False (and no copy left) when it cannot be read
// or written, or when it yields more than maxBytes (the size it had when counted: the player
// bounds what its copies take, and a file that grows while read, or one whose size reads short,
// would pass that bound).
bool CopyIntoFolder(const std::string& source, const std::string& folder, const std::string& name,
                    unsigned long long maxBytes);

// Whether path names an existing regular file (following links); its size in size.
bool IsReadableFile(const std::string& path, unsigned long long& size);
