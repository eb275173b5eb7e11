// The Windows build runs under Wine here, without ImageMagick beside it.
#include "../ReferenceDecoder.h"

namespace reference_decoder
{
std::string Unavailable() { return "ImageMagick is not run from the Windows build"; }

bool Decode(const std::string&, bool, std::string&) { return false; }
}  // namespace reference_decoder
