#pragma once

#include "tests/plugin/np/PluginHost.h"
#include "tests/plugin/np/TestDesktop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace nptest
{
namespace fs = std::filesystem;

using Attributes = std::vector<std::pair<std::string, std::string>>;

// One embedded applet as a browser keeps it: its instance handle and the page it lies in.
struct Embedded
{
    NPP_t handle = {nullptr, nullptr};
    TestPage page;
    NPWindow window = {};
};

// A new instance in embed mode with the attributes in order.
inline NPError NewInstance(Embedded& embedded, const Attributes& attributes)
{
    std::vector<char*> names, values;
    std::vector<std::string> storage;
    storage.reserve(attributes.size() * 2);
    for (const auto& attribute : attributes)
    {
        storage.push_back(attribute.first);
        names.push_back(&storage.back()[0]);
        storage.push_back(attribute.second);
        values.push_back(&storage.back()[0]);
    }
    char type[] = "application/qv-applet";
    return PluginFuncs().newp(type, &embedded.handle, NP_EMBED,
                              static_cast<std::int16_t>(attributes.size()), names.data(),
                              values.data(), nullptr);
}

// The window record of a page's plug-in window.
inline void DescribeWindow(Embedded& embedded, int width, int height)
{
    embedded.window = {};
    embedded.window.window = embedded.page.plugin;
    embedded.window.width = static_cast<std::uint32_t>(width);
    embedded.window.height = static_cast<std::uint32_t>(height);
    embedded.window.type = NPWindowTypeWindow;
}

// Makes a page and hands its plug-in window to the instance.
inline NPError GiveWindow(Embedded& embedded, int width = 320, int height = 200)
{
    embedded.page = MakePage(width, height);
    DescribeWindow(embedded, width, height);
    return PluginFuncs().setwindow(&embedded.handle, &embedded.window);
}

// Delivers the package file as a browser does: a stream as file only, then the file.
inline void DeliverPackage(Embedded& embedded, const std::string& path)
{
    NPStream stream = {};
    std::string url = "file:///" + path;
    stream.url = url.c_str();
    std::uint16_t type = NP_NORMAL;
    char mime[] = "application/qv-applet";
    PluginFuncs().newstream(&embedded.handle, mime, &stream, 0, &type);
    PluginFuncs().asfile(&embedded.handle, &stream, path.c_str());
    PluginFuncs().destroystream(&embedded.handle, &stream, NPRES_DONE);
}

inline void Destroy(Embedded& embedded)
{
    PluginFuncs().destroy(&embedded.handle, nullptr);
    DestroyPage(embedded.page);
}

// A fresh folder below the browser's working directory holding a copy of the probe package;
// returns the package's path.
inline std::string ProbePackageIn(const std::string& folder)
{
    const fs::path directory = fs::path(HostFolder()) / folder;
    std::error_code error;
    fs::remove_all(directory, error);
    fs::create_directories(directory);
    const fs::path package = directory / "probe.qva";
    fs::copy_file(QV_PROBE_PACKAGE, package, fs::copy_options::overwrite_existing);
    return package.string();
}

inline std::string FolderOf(const std::string& packagePath)
{
    return fs::path(packagePath).parent_path().string();
}

// The probe applet's report lines in folder (none when there is no report).
inline std::vector<std::string> Report(const std::string& folder)
{
    std::vector<std::string> lines;
    std::ifstream file(fs::path(folder) / "probe-applet.txt");
    for (std::string line; std::getline(file, line);)
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

inline bool ReportHas(const std::string& folder, const std::string& line)
{
    for (const std::string& present : Report(folder))
        if (present == line)
            return true;
    return false;
}

// Serves the test's windows until done() or the time is up.
inline bool WaitFor(const std::function<bool()>& done, int milliseconds = 15000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done())
    {
        if (std::chrono::steady_clock::now() > end)
            return false;
        Pump(20);
    }
    return true;
}

// Whether the threads of the process come back to count (threads end a little after they
// signalled their end).
inline bool ThreadsBackTo(int count)
{
    return WaitFor([&] { return ThreadCount() <= count; }, 5000);
}

// Skips a test that needs windows when there is no display.
#define QV_NEED_DESKTOP()                                                                          \
    do                                                                                             \
    {                                                                                              \
        ASSERT_NE(nullptr, nptest::PluginFuncs().newp) << "the plug-in did not load";              \
        if (!nptest::HaveDesktop())                                                                \
            GTEST_SKIP() << "no display";                                                          \
    } while (false)
}  // namespace nptest
