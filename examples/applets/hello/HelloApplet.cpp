#include "HelloApplet.h"

#include "modules/ModuleExport.h"
#include "platform/Directory.h"
#include "ui/QVUIManager.h"

#include <cstdio>
#include <string>

QV_DEFINE_MODULE(HelloApplet)

namespace
{
const char* const HomePage = "http://example.com/qv/hello.html";
const char* const HomeTarget = "_blank";
const char* const ReportFile = "hello-applet.txt";

// The 8-bit form of a text (16-bit characters keep their low byte).
std::string Narrow(const QVString& text)
{
    QVString copy(text);
    copy.SetEncoding(QVString::Narrow);
    return copy.GetLength() > 0 ? std::string(copy.GetBuffer()) : std::string();
}
}  // namespace

HelloApplet::HelloApplet()
    : m_window(nullptr), m_host(nullptr), m_parameters(nullptr), m_lastKey(-1)
{
    SetFileName(QVString("helloapplet.qvm"));
    SetName(QVString("Hello Applet"));
    SetPlatform(QVString("All"));
}

bool HelloApplet::Init(QVUIWindow* window, QVAppletHost* host, QVProperties* parameters)
{
    m_window = window;
    m_host = host;
    m_parameters = parameters;
    WriteReport();
    return true;
}

int HelloApplet::Run()
{
    if (m_window == nullptr)
        return 1;
    m_label.SetX(10);
    m_label.SetY(10);
    m_label.SetWidth(300);
    m_label.SetHeight(20);
    ShowLastKey();
    m_button.SetCaption("Open URL");
    m_button.SetX(10);
    m_button.SetY(40);
    m_button.SetWidth(120);
    m_button.SetHeight(30);
    QVUIItem::SetParent(m_label, *m_window);
    QVUIItem::SetParent(m_button, *m_window);
    // Commands reach the window's listener; keys reach whichever control has the focus.
    m_window->SetListener(this);
    m_label.SetListener(this);
    m_button.SetListener(this);
    m_label.Create();
    m_button.Create();

    QVUIManager* manager = m_window->GetManager();
    while (manager != nullptr && manager->ProcessMessages(m_window, true))
    {
    }

    m_button.Destroy();
    m_label.Destroy();
    // The window is the host's again.
    m_window->SetListener(m_window);
    return 0;
}

void HelloApplet::OnCommand(QVUIItem* control)
{
    if (control == &m_button && m_host != nullptr)
        m_host->OpenURL(QVString(HomePage), QVString(HomeTarget));
}

void HelloApplet::OnKeyDown(QVUIItem*, unsigned short, int key)
{
    m_lastKey = key;
    ShowLastKey();
    WriteReport();
}

void HelloApplet::ShowLastKey()
{
    std::string text = "Hello! Last key: ";
    text += m_lastKey < 0 ? std::string("none") : std::to_string(m_lastKey);
    m_label.SetCaption(text.c_str());
}

void HelloApplet::WriteReport()
{
    QVString directory;
    if (m_parameters == nullptr || !m_parameters->Get(QVString("@temp_path"), directory))
        return;
    std::string path = Narrow(directory);
    path += QVPathSeparator();
    path += ReportFile;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return;
    m_parameters->ForEachEntry(
        [&](const QVPropertyEntry& entry)
        {
            std::fprintf(file, "parameter %s=%s\n", Narrow(entry.GetKey()).c_str(),
                         Narrow(entry.GetValue()).c_str());
        });
    if (m_lastKey < 0)
        std::fprintf(file, "key none\n");
    else
        std::fprintf(file, "key %d\n", m_lastKey);
    std::fclose(file);
}
