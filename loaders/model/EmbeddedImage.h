#pragma once

#include <cstddef>
#include <string>

// Images that a model carries inside itself (glTF data: URIs and buffer views) are handed to the
// image loader modules like any texture, by file name: they are written to temporary files,
// named with the extension of their kind (told by the bytes, else by the MIME type) so that the
// loaders that go by the extension take them. The files are removed when the loader library is
// unloaded or the process ends.

// The path of a temporary file holding the image, or "" when its kind is not one of PNG, JPEG,
// GIF or BMP or the file cannot be written.
std::string WriteEmbeddedImage(const std::string& mimeType, const unsigned char* data,
                               std::size_t size);
