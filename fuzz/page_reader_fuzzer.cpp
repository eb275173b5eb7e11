// The player's page reader on arbitrary bytes, as a page it is asked to play. Beyond not
// crashing, the result must hold what the reader promises:
// - no applet has two attributes of one name (compared without case);
// - there are no more applets than '<' characters in the page;
// - every applet's source resolves or is refused with a reason, a resolved one to a local path
//   (never "//host/…"), and its sizes are positive.
#include "apps/qvaplayer/LocalPaths.h"
#include "apps/qvaplayer/PageReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
void Check(bool condition, const char* what)
{
    if (!condition)
    {
        std::fprintf(stderr, "page reader broke its promise: %s\n", what);
        std::abort();
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string page(reinterpret_cast<const char*>(data), size);
    std::size_t tags = 0;
    for (char c : page)
        tags += c == '<';
    const std::vector<AppletElement> applets = ReadAppletElements(page);
    Check(applets.size() <= tags, "more applets than tags");
    for (const AppletElement& applet : applets)
    {
        for (std::size_t i = 0; i < applet.attributes.size(); ++i)
        {
            for (std::size_t j = i + 1; j < applet.attributes.size(); ++j)
                Check(!SameTextIgnoringCase(applet.attributes[i].first, applet.attributes[j].first),
                      "an attribute name twice");
        }
        std::string path, error;
        const bool resolved = ResolveSource(applet.Source(), "/pages", path, error);
        Check(resolved ? !path.empty() : !error.empty(), "a source neither resolved nor refused");
        Check(!resolved || path.compare(0, 2, "//") != 0, "a source resolved to another host");
        Check(applet.Size("width", 320) > 0 && applet.Size("height", 200) > 0,
              "a size that is not positive");
    }
    return 0;
}
