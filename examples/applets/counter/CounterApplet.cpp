// The counter applet: a button and a label that counts the button's clicks and the keys pressed.
#include "modules/ModuleExport.h"
#include "plugin/QVApplet.h"
#include "ui/QVUIButton.h"
#include "ui/QVUILabel.h"
#include "ui/QVUIManager.h"

#include <string>

class CounterApplet : public QVApplet, public QVUIListener
{
public:
    CounterApplet()
    {
        // The file name lets hosts find the module again once it is loaded.
        SetFileName(QVString("counterapplet.qvm"));
        SetName(QVString("Counter"));
        SetPlatform(QVString("All"));
    }

    // The host's window, host and parameters stay valid until Run returns.
    bool Init(QVUIWindow* window, QVAppletHost*, QVProperties*) override
    {
        m_window = window;
        return true;
    }

    int Run() override
    {
        m_button.SetCaption("Count");
        m_button.SetX(10);
        m_button.SetY(10);
        m_button.SetWidth(100);
        m_button.SetHeight(30);
        m_label.SetX(10);
        m_label.SetY(50);
        m_label.SetWidth(300);
        m_label.SetHeight(20);
        QVUIItem::SetParent(m_button, *m_window);
        QVUIItem::SetParent(m_label, *m_window);
        // Clicks reach the window's listener; keys reach the control that has the focus.
        m_window->SetListener(this);
        m_button.SetListener(this);
        m_label.SetListener(this);
        m_button.Create();
        m_label.Create();
        Show();

        // The message loop: Run returns only once the window is closed.
        QVUIManager* manager = m_window->GetManager();
        while (manager->ProcessMessages(m_window, true))
        {
        }

        m_label.Destroy();
        m_button.Destroy();
        m_window->SetListener(m_window);  // the window is the host's again
        return 0;
    }

    void OnCommand(QVUIItem* control) override
    {
        if (control == &m_button)
            ++m_clicks;
        Show();
    }

    void OnKeyDown(QVUIItem*, unsigned short, int) override
    {
        ++m_keys;
        Show();
    }

private:
    void Show()
    {
        const std::string text =
            "Clicks: " + std::to_string(m_clicks) + "  Keys: " + std::to_string(m_keys);
        m_label.SetCaption(text.c_str());
    }

    QVUIWindow* m_window = nullptr;
    QVUIButton m_button;
    QVUILabel m_label;
    int m_clicks = 0;
    int m_keys = 0;
};

// Exports CreateMod and ReleaseMod, which make and destroy the applet.
QV_DEFINE_MODULE(CounterApplet)
