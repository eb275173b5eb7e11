#include "renderers/opengl/GLReport.h"

#include "core/trace/QVTraceHook.h"
#include "gl/QVGL.h"

#include <string>

namespace
{
const char* StringOf(GLenum name)
{
    const GLubyte* text = glGetString(name);
    return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}
}  // namespace

void WriteGLReport()
{
    QVTraceHook::Report(StringOf(GL_RENDERER));
    QVTraceHook::Report(StringOf(GL_VERSION));
    QVTraceHook::Report(StringOf(GL_VENDOR));
    QVTraceHook::Report("# GL_EXTENSIONS ---------------");
    // Names are separated by blanks; every write is a line of its own.
    const std::string extensions = StringOf(GL_EXTENSIONS);
    std::string line;
    for (std::size_t i = 0; i <= extensions.size(); ++i)
    {
        if (i == extensions.size() || extensions[i] == ' ')
        {
            if (!line.empty())
            {
                QVTraceHook::Report(("#    " + line).c_str());
                line.clear();
            }
            continue;
        }
        line += extensions[i];
    }
    QVTraceHook::Report("# -----------------------------");
}
