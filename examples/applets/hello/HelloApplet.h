#pragma once

#include "plugin/QVApplet.h"
#include "ui/QVUIButton.h"
#include "ui/QVUILabel.h"
#include "ui/QVUIListener.h"

// The smallest applet worth trying: a label and a button in the host's window. The button asks
// the host to open a web page; the label shows the virtual-key code of the last key pressed.
// The applet ends when its window is closed.
//
// So that its host can be checked from outside, it keeps a report file "hello-applet.txt" in
// the directory "@temp_path" names: one line "parameter <key>=<value>" per parameter it was
// given, then "key <code>" for the last key pressed ("key none" before any). The file is
// written at Init and again after every key.
class HelloApplet : public QVApplet, public QVUIListener
{
public:
    HelloApplet();

    bool Init(QVUIWindow* window, QVAppletHost* host, QVProperties* parameters) override;
    // Creates the label and the button and pumps the window's messages until it is closed.
    int Run() override;

    // The button: the host opens the applet's home page.
    void OnCommand(QVUIItem* control) override;
    // Any key in the window or its controls: shown in the label and written to the report.
    void OnKeyDown(QVUIItem* item, unsigned short flags, int key) override;

private:
    void ShowLastKey();
    void WriteReport();

    QVUIWindow* m_window;
    QVAppletHost* m_host;
    QVProperties* m_parameters;
    QVUILabel m_label;
    QVUIButton m_button;
    int m_lastKey;  // -1 before any key
};
