#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The folder a model file lies in, and the only place its other files (buffers, material
// libraries, textures) are read from. A file names them by relative references (glTF URIs after
// percent-decoding, OBJ "mtllib" and "map_Kd" names); a reference that is empty, absolute (a
// leading slash or backslash, a drive letter, a scheme such as "file:"), holds a NUL or a ".."
// component is refused, so nothing outside the folder (or below it reached by a detour) is named.
// Symbolic links inside the folder are the folder owner's business and are followed.
class ModelFolder
{
public:
    // The folder of modelPath (the part up to its last slash or backslash; "" for a bare name,
    // the working directory).
    explicit ModelFolder(const std::string& modelPath);

    // The path of reference inside the folder, its components joined by slashes (backslashes
    // count as separators, "." components drop out), or false with error set.
    bool Resolve(const std::string& reference, std::string& path, std::string& error) const;

private:
    std::string m_prefix;  // the folder with its separator, or empty
};

// Reads the regular file at path (never a FIFO or device) into bytes, at most
// model::kMaxFileBytes of them. False, with error set, when it cannot be read or is larger.
bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes, std::string& error);
