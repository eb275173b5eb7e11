#include "apps/qvglview/ViewOptions.h"

#include <cctype>

namespace
{
bool EndsWithTga(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".tga";
}
}  // namespace

bool ViewOptions::Parse(const std::vector<std::string>& words, std::string& error)
{
    for (std::size_t i = 0; i < words.size(); ++i)
    {
        const std::string& word = words[i];
        if (word.empty())
            continue;
        if (word == "--help" || word == "-h")
        {
            help = true;
            continue;
        }
        if (word == "--model" || word == "--texture" || word == "--screenshot")
        {
            if (i + 1 >= words.size() || words[i + 1].empty())
            {
                error = word + " needs a file name";
                return false;
            }
            const std::string& file = words[++i];
            if (word == "--screenshot" && !EndsWithTga(file))
            {
                error = "--screenshot writes TGA images: give a file name ending in .tga, not '" +
                        file + "'";
                return false;
            }
            (word == "--model" ? model : word == "--texture" ? texture : screenshot) = file;
            continue;
        }
        error = "unknown option '" + word + "'";
        return false;
    }
    return true;
}

const char* ViewOptions::Usage()
{
    return "usage: qvglview [--model FILE] [--texture IMAGE] [--screenshot FILE.tga]\n"
           "Shows the demonstration scene through the OpenGL renderer (qvoglrenderer.qvm).\n"
           "Drag the mouse to orbit the camera, Z and S to move it, Q to quit.\n"
           "  --model FILE           shows that model instead, centred and lit: .3ds (read by\n"
           "                         qv3dsloader.qvm), .gltf, .glb or .obj (qvmodelloader.qvm)\n"
           "  --texture IMAGE        puts the image on the sphere and the boxes, or the model\n"
           "                         (TGA, PNG, JPEG, BMP or GIF, read by the image loader\n"
           "                         modules qvtgaloader.qvm and qvimgloader.qvm)\n"
           "  --screenshot FILE.tga  saves one frame as an uncompressed TGA image and ends\n"
           "  --help                 this text\n";
}
