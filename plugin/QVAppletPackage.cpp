#include "plugin/QVAppletPackage.h"

#include "modules/RunTimePath.h"
#include "platform/Directory.h"
#include "platform/RegularFile.h"
#include "plugin/AppletModule.h"
#include "plugin/package/EntryName.h"

#include <cstdio>
#include <string>
#include <vector>

namespace
{
const char* const TempPathKey = "@temp_path";
const char* const ConfigurationFile = "qveapp.cfg";
// The keys naming the applet module, in the order this build reads them (set by the build:
// "main_linux" on Linux, "main_w32" on Windows, "main_web" then "main_linux" on the web);
// "main_w32", the key every package has, comes last.
#ifndef QV_APPLET_SECOND_KEY
#define QV_APPLET_SECOND_KEY QV_APPLET_MODULE_KEY
#endif
const char* const ModuleKeys[] = {QV_APPLET_MODULE_KEY, QV_APPLET_SECOND_KEY, "main_w32"};

enum class FileSize
{
    Missing,
    Within,
    Over,
};

// Whether the regular file at path holds at most limit bytes; only that much (and one more) is
// read, whatever its size.
FileSize SizeWithin(const char* path, std::uint64_t limit)
{
    std::FILE* file = QVOpenRegularFile(path, "rb");
    if (file == nullptr)
        return FileSize::Missing;
    std::vector<char> piece(65536);
    std::uint64_t size = 0;
    std::size_t read = 0;
    while (size <= limit && (read = std::fread(piece.data(), 1, piece.size(), file)) > 0)
        size += read;
    std::fclose(file);
    return size <= limit ? FileSize::Within : FileSize::Over;
}
}  // namespace

bool QVAppletPackage::Unpack(const QVString& packagePath, QVProperties& parameters)
{
    m_report = QVUnpackReport();
    m_directory.Empty();
    // The last separator, searched from the second-to-last character down to the second.
    int cut = packagePath.FindLast(QVPathSeparator(), -1);
    const int slash = packagePath.FindLast('/', -1);
    if (slash > cut)
        cut = slash;
    if (cut <= 0)
        return false;
    QVString directory;
    packagePath.Mid(directory, 0, cut);
    directory.SetEncoding(QVString::Narrow);
    if (!ChangeDirectory(directory))
        return false;
    m_directory.Assign(directory);
    parameters.Set(QVString(TempPathKey), m_directory);

    QVString path(packagePath);
    path.SetEncoding(QVString::Narrow);
    m_report = m_extractor.Unpack(path.GetBuffer(), m_directory.GetBuffer());
    return true;
}

QVApplet* QVAppletPackage::LoadApplet(QVProperties& parameters)
{
    m_moduleName.Empty();
    m_failure = "the package was not unpacked";
    if (m_directory.GetLength() == 0)
        return nullptr;
    // The configuration is read from D by its full name: the working directory may have
    // changed since Unpack.
    m_configuration.Clear();
    QVString file(m_directory);
    file.AppendChar(QVPathSeparator());
    file.Append(ConfigurationFile);
    const FileSize size = SizeWithin(file.GetBuffer(), ConfigurationLimit);
    if (size == FileSize::Over)
    {
        m_failure = "the configuration qveapp.cfg is larger than 1 MiB";
        return nullptr;
    }
    m_failure = "the package has no configuration qveapp.cfg";
    if (size == FileSize::Missing || !m_configuration.Load(file))
        return nullptr;
    QVString name;
    for (const char* key : ModuleKeys)
    {
        if (m_configuration.Get(QVString(key), name))
            break;
    }
    name.SetEncoding(QVString::Narrow);
    m_moduleName.Assign(name);
    parameters.Set(QVString(TempPathKey), m_directory);
    m_failure = "the package names no applet module (qveapp.cfg)";
    if (name.GetLength() == 0)
        return nullptr;
    m_failure = std::string("cannot load the applet ") + name.GetBuffer();

    // The name is relative to D and confined to it as the entries are: the module is always
    // one that the package brought.
    const std::vector<std::string> parts = ConfineEntryName(name.GetBuffer());
    if (parts.empty())
        return nullptr;
    QVString modulePath(m_directory);
    for (const std::string& part : parts)
    {
        modulePath.AppendChar(QVPathSeparator());
        modulePath.Append(part.c_str());
    }
    std::string why;
    QVApplet* applet = LoadAppletModule(modulePath.GetBuffer(), why);
    m_failure = applet != nullptr ? std::string() : m_failure + ": " + why;
    return applet;
}
