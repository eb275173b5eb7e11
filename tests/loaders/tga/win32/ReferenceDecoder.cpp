// The Windows build runs under Wine here, without ImageMagick beside it (so does the image
// loader's suite on the web, under node).
#include "../ReferenceDecoder.h"

namespace reference_decoder
{
std::string Unavailable() { return "ImageMagick is not run from the Windows and web builds"; }

bool Decode(const std::string&, bool, std::string&) { return false; }
}  // namespace reference_decoder
