#include "loaders/model/ModelFolder.h"

#include "loaders/model/ModelLimits.h"
#include "platform/RegularFile.h"

#include <cstdio>
#include <new>

ModelFolder::ModelFolder(const std::string& modelPath)
{
    const std::size_t slash = modelPath.find_last_of("/\\");
    if (slash != std::string::npos)
    {
        m_prefix = modelPath.substr(0, slash + 1);
    }
}

bool ModelFolder::Resolve(const std::string& reference, std::string& path, std::string& error) const
{
    const std::string quoted = "the reference '" + reference.substr(0, 200) + "' ";
    if (reference.empty())
    {
        error = "an empty file reference";
        return false;
    }
    if (reference.find('\0') != std::string::npos)
    {
        error = quoted + "holds a NUL character";
        return false;
    }
    if (reference[0] == '/' || reference[0] == '\\' || reference.find(':') != std::string::npos)
    {
        error = quoted + "is absolute: only files beside the model are read";
        return false;
    }
    // Rebuilt from its components: backslashes separate as slashes do (files written on Windows
    // use them), "." and empty components drop out.
    std::string inside;
    std::size_t begin = 0;
    while (begin <= reference.size())
    {
        std::size_t end = reference.find_first_of("/\\", begin);
        if (end == std::string::npos)
        {
            end = reference.size();
        }
        const std::string component = reference.substr(begin, end - begin);
        if (component == "..")
        {
            error = quoted + "leads out of the model's folder";
            return false;
        }
        if (!component.empty() && component != ".")
        {
            inside += (inside.empty() ? "" : "/") + component;
        }
        begin = end + 1;
    }
    if (inside.empty())
    {
        error = quoted + "names no file";
        return false;
    }
    path = m_prefix + inside;
    return true;
}

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes, std::string& error)
{
    std::FILE* file = QVOpenRegularFile(path.c_str(), "rb");
    if (file == nullptr)
    {
        error = "cannot open '" + path + "'";
        return false;
    }
    bytes.clear();
    bool ok = true;
    try
    {
        // The size the file shows now only reserves room; the bytes are read in steps as they
        // arrive, so a file that grows or shows no size is still bounded.
        if (std::fseek(file, 0, SEEK_END) == 0)
        {
            const long size = std::ftell(file);
            if (size > 0 && static_cast<unsigned long>(size) <= model::kMaxFileBytes)
            {
                bytes.reserve(static_cast<std::size_t>(size));
            }
        }
        std::rewind(file);
        unsigned char step[64 * 1024];
        std::size_t got;
        while ((got = std::fread(step, 1, sizeof step, file)) > 0)
        {
            if (got > model::kMaxFileBytes - bytes.size())
            {
                error = "'" + path + "' is larger than " +
                        std::to_string(model::kMaxFileBytes >> 20) + " MB";
                ok = false;
                break;
            }
            bytes.insert(bytes.end(), step, step + got);
        }
        if (ok && std::ferror(file))
        {
            error = "cannot read '" + path + "'";
            ok = false;
        }
    }
    catch (const std::bad_alloc&)
    {
        error = "not enough memory to read '" + path + "'";
        ok = false;
    }
    std::fclose(file);
    return ok;
}
