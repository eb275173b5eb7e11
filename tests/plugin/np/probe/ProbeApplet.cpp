// A test applet for the browser plug-in's tests. It keeps a report "probe-applet.txt" in the
// directory "@temp_path" names:
//   "parameter <key>=<value>"  one line per parameter, written at Init
//   "openurl <0|1>"            when the parameter "openurl" names a URL (target: "target"),
//                              the host's answer to OpenURL, asked at Init
//   "running"                  when Run starts pumping the window
//   "down <key>", "up <key>"   every key that reaches the window's listener
//   "ended"                    when Run returns
// With the parameter "linger" (milliseconds) Run stays that long after its window was told to
// quit, as an applet that does not end when asked. With the parameter "hog" Run takes memory
// until none is left (the web player's out-of-memory failure; never used on the desktop).
#include "modules/ModuleExport.h"
#include "platform/Directory.h"
#include "plugin/QVApplet.h"
#include "ui/QVUIManager.h"

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace
{
std::string Narrow(const QVString& text)
{
    QVString copy(text);
    copy.SetEncoding(QVString::Narrow);
    return copy.GetLength() > 0 ? std::string(copy.GetBuffer()) : std::string();
}
}  // namespace

class ProbeApplet : public QVApplet, public QVUIListener
{
public:
    ProbeApplet()
    {
        SetFileName(QVString("probeapplet.qvm"));
        SetName(QVString("Probe Applet"));
        SetPlatform(QVString("All"));
    }

    bool Init(QVUIWindow* window, QVAppletHost* host, QVProperties* parameters) override
    {
        m_window = window;
        m_parameters = parameters;
        QVString directory;
        if (parameters == nullptr || !parameters->Get(QVString("@temp_path"), directory))
            return false;
        m_report = Narrow(directory) + QVPathSeparator() + "probe-applet.txt";
        std::string lines;
        parameters->ForEachEntry(
            [&](const QVPropertyEntry& entry) {
                lines +=
                    "parameter " + Narrow(entry.GetKey()) + "=" + Narrow(entry.GetValue()) + "\n";
            });
        Write(lines, "wb");
        QVString url, target;
        if (parameters->Get(QVString("openurl"), url))
        {
            parameters->Get(QVString("target"), target);
            const bool accepted = host->OpenURL(url, target);
            Write(accepted ? "openurl 1\n" : "openurl 0\n", "ab");
        }
        return true;
    }

    int Run() override
    {
        if (m_window == nullptr || m_window->GetManager() == nullptr)
            return 1;
        m_window->SetListener(this);
        Write("running\n", "ab");
        QVString hog;
        if (m_parameters->Get(QVString("hog"), hog))
        {
            // Touched and counted, so that no allocation is left out; 64 GiB is beyond any page.
            std::vector<char*> blocks;
            while (blocks.size() < 1024)
            {
                blocks.push_back(new char[64 << 20]);
                blocks.back()[0] = 1;
            }
            Write("hogged " + std::to_string(blocks.size()) + "\n", "ab");
            for (char* block : blocks)
                delete[] block;
        }
        QVUIManager* manager = m_window->GetManager();
        while (manager->ProcessMessages(m_window, true))
        {
        }
        QVString linger;
        if (m_parameters->Get(QVString("linger"), linger))
            std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(Narrow(linger))));
        m_window->SetListener(m_window);
        Write("ended\n", "ab");
        return 0;
    }

    void OnKeyDown(QVUIItem*, unsigned short, int key) override
    {
        Write("down " + std::to_string(key) + "\n", "ab");
    }
    void OnKeyUp(QVUIItem*, unsigned short, int key) override
    {
        Write("up " + std::to_string(key) + "\n", "ab");
    }

private:
    // Keys arrive on the browser's side while Run writes on the applet's thread.
    void Write(const std::string& text, const char* mode)
    {
        std::lock_guard<std::mutex> lock(m_lock);
        std::FILE* file = std::fopen(m_report.c_str(), mode);
        if (file == nullptr)
            return;
        std::fputs(text.c_str(), file);
        std::fclose(file);
    }

    QVUIWindow* m_window = nullptr;
    QVProperties* m_parameters = nullptr;
    std::string m_report;
    std::mutex m_lock;
};

QV_DEFINE_MODULE(ProbeApplet)
