#include "apps/qvmods/QVModsApplication.h"

#include "modules/QVModManager.h"
#include "modules/RunTimePath.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

namespace
{

QVModsApplication application;

struct Row
{
    std::string where;  // "working" or "runtime"
    std::string file;
    std::string fileName, name, type, subtype, platform;
    std::string note;  // why the library is not listed as a module, or whether it was loaded
};

std::string Text(const QVString& text)
{
    if (text.GetEncoding() == QVString::Wide)
    {
        QVString narrow(text);
        narrow.SetEncoding(QVString::Narrow);
        return narrow.GetBuffer() != nullptr ? narrow.GetBuffer() : "";
    }
    return text.GetBuffer() != nullptr ? text.GetBuffer() : "";
}

std::string OrDash(const std::string& text) { return text.empty() ? "-" : text; }

void Describe(QVModManager& manager, const char* where, QVList<QVString>& files,
              std::vector<Row>& rows)
{
    for (unsigned i = 0; i < files.GetCount(); ++i)
    {
        Row row;
        row.where = where;
        row.file = Text(files[i]);
        // Loaded through the manager's own search from the working directory, which is how
        // LoadModules would load it: a name in both directories resolves to the same library.
        int status = QV_LOAD_FAILED;
        QVModule* module = manager.LoadModule(row.file.c_str(), status);
        if (module == nullptr)
        {
            row.note = "not loadable: library not found by the search, or no CreateMod";
        }
        else
        {
            row.fileName = Text(module->GetFileName());
            row.name = Text(module->GetName());
            row.type = Text(module->GetType());
            row.subtype = Text(module->GetSubtype());
            row.platform = Text(module->GetPlatform());
            if (status == QV_LOAD_ALREADY)
                row.note = "same module as an earlier row (found by file name)";
            else if (row.fileName.empty())
                row.note = "file name not set: created anew at every request";
        }
        rows.push_back(row);
    }
}

void PrintTable(const std::vector<Row>& rows)
{
    const char* headings[] = {"DIR",  "FILE",    "FILE NAME", "NAME",
                              "TYPE", "SUBTYPE", "PLATFORM",  "NOTE"};
    std::vector<std::vector<std::string>> cells;
    cells.push_back(std::vector<std::string>(std::begin(headings), std::end(headings)));
    for (const Row& row : rows)
        cells.push_back({row.where, row.file, OrDash(row.fileName), OrDash(row.name),
                         OrDash(row.type), OrDash(row.subtype), OrDash(row.platform), row.note});
    std::vector<std::size_t> widths(cells[0].size(), 0);
    for (const auto& line : cells)
        for (std::size_t c = 0; c < line.size(); ++c)
            widths[c] = std::max(widths[c], line[c].size());
    for (const auto& line : cells)
    {
        std::string out;
        for (std::size_t c = 0; c < line.size(); ++c)
        {
            out += line[c];
            if (c + 1 < line.size())
                out += std::string(widths[c] - line[c].size() + 2, ' ');
        }
        while (!out.empty() && out.back() == ' ')
            out.pop_back();
        std::printf("%s\n", out.c_str());
    }
}

}  // namespace

int QVModsApplication::Run()
{
    QVString working;
    QVString runTime;
    QVString system;
    GetWorkingDirectory(working);
    const bool keyPresent = GetRunTimePath(runTime);
    GetSystemDir(system);

    std::printf("working directory: %s\n", Text(working).c_str());
    if (!keyPresent)
        std::printf(
            "runtime directory: not set (no key); the working directory is scanned twice\n");
    else if (runTime.GetLength() == 0)
        std::printf("runtime directory: key without value; the working directory is scanned "
                    "twice\n");
    else
        std::printf("runtime directory: %s\n", Text(runTime).c_str());
    std::printf("system directory:  %s\n\n", Text(system).c_str());

    QVList<QVString> inWorking;
    QVList<QVString> inRunTime;
    FindFiles(inWorking, "*.qvm");
    FindFilesIn(runTime.GetBuffer(), inRunTime, "*.qvm");

    // A manager of our own: what it loads here is released again below.
    QVModManager manager;
    std::vector<Row> rows;
    Describe(manager, "working", inWorking, rows);
    Describe(manager, "runtime", inRunTime, rows);
    if (rows.empty())
    {
        std::printf("no module library (*.qvm) found\n");
        return 1;
    }
    PrintTable(rows);
    while (manager.GetCount() > 0)  // the memory module too: it was loaded only to describe it
        manager.ReleaseAt(0);
    return 0;
}
