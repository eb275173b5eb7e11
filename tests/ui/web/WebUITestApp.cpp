// The web UI manager's test program: a window with a label, a button, a hand label and an inner
// window inside the host element the page names, every listener call written to standard output
// (the page collects it) and keys that open the message boxes and post the quit message.
//
// Arguments: the host element's id N ("qvwin-N"; 0 for a window without parent, which goes
// into the page's root element) and the loop mode ("poll": ProcessMessages without wait,
// "wait": with wait).
#include "modules/QVModManager.h"
#include "ui/QVUIButton.h"
#include "ui/QVUIHandLabel.h"
#include "ui/QVUILabel.h"
#include "ui/QVUIManager.h"
#include "ui/QVUIWindow.h"

#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{

class Recorder : public QVUIListener
{
public:
    Recorder(QVUIManager& uiManager, QVUIWindow& main) : manager(uiManager), window(main) {}

    QVUIItem* host = nullptr;  // the host element's item, once attached
    // Items by name, for the log.
    static const int ItemCount = 6;
    QVUIItem* items[ItemCount] = {};
    const char* names[ItemCount] = {};

    void OnCommand(QVUIItem* control) override
    {
        std::printf("command %s\n", NameOf(control));
        if (control == items[2])
            Ask(2);
    }
    void OnMouseMove(QVUIItem* item, unsigned short flags, int x, int y, int reserved) override
    {
        std::printf("move %s %d %d %d %d\n", NameOf(item), flags, x, y, reserved);
    }
    void OnKeyDown(QVUIItem* item, unsigned short flags, int key) override
    {
        std::printf("down %s %d %d\n", NameOf(item), flags, key);
        if (key >= '1' && key <= '3')
            Ask(key - '0');
        else if (key == 'H' && host != nullptr)
        {
            // A nested loop for the host's element, as a host would run one.
            for (int i = 0; i < 20; ++i)
                manager.ProcessMessages(host, false);
        }
        else if (key == 'T')
        {
            // A 16-bit caption with characters beyond Latin-1, shown and read back.
            const unsigned short wide[] = {0x00DC, 'n', 0x00EF, ' ', 0x2713, 0};
            items[1]->SetCaption(wide);
            const unsigned short empty[] = {0};
            items[1]->GetCaption().Assign(empty);
            manager.ReadText(items[1]);
            const QVString& text = items[1]->GetCaption();
            std::printf("text %d %d %d\n", text.GetLength(), text.GetCharAt(0), text.GetCharAt(4));
        }
        else if (key == 'V')
        {
            // The inner window hidden or shown again.
            QVUIItem* inner = items[4];
            bool show = !inner->IsVisible();
            inner->SetVisible(show);
            manager.ReadVisibility(inner);
            std::printf("inner visible %d\n", inner->IsVisible() ? 1 : 0);
        }
        else if (key == 'Q')
            std::printf("quit posted %d\n", manager.PostQuit(&window));
    }
    void OnKeyUp(QVUIItem* item, unsigned short flags, int key) override
    {
        std::printf("up %s %d %d\n", NameOf(item), flags, key);
    }

private:
    const char* NameOf(const QVUIItem* item) const
    {
        for (int i = 0; i < ItemCount; ++i)
        {
            if (items[i] == item && item != nullptr)
                return names[i];
        }
        return "none";
    }
    // 1: AskYesNo, 2: AskYesNoCancel, 3: ShowMessage.
    void Ask(int which)
    {
        QVString caption("Question");
        if (which == 1)
        {
            QVString text("Yes or no?");
            std::printf("yesno %d\n", manager.AskYesNo(text, caption) ? 1 : 0);
        }
        else if (which == 2)
        {
            QVString text("Yes, no or cancel?");
            std::printf("yesnocancel %d\n", manager.AskYesNoCancel(text, caption));
        }
        else
        {
            QVString text("Just so you know.\nSecond line.");
            QVString title("Note");
            std::printf("message %d\n", manager.ShowMessage(text, title));
        }
    }

    QVUIManager& manager;
    QVUIWindow& window;
};

void Place(QVUIItem& item, const char* caption, int x, int y, int width, int height)
{
    item.SetCaption(caption);
    item.SetX(x);
    item.SetY(y);
    item.SetWidth(width);
    item.SetHeight(height);
}

}  // namespace

int main(int argc, char** argv)
{
    int hostId = argc > 1 ? std::atoi(argv[1]) : 0;
    bool wait = argc > 2 && std::strcmp(argv[2], "wait") == 0;

    // As hosts get it: the module by the platform's file name, compiled into the program.
    QVUIManager* loaded =
        static_cast<QVUIManager*>(GetModManager().LoadModule(GetUIManagerFileName()));
    if (loaded == nullptr)
    {
        std::printf("no UI manager module %s\n", GetUIManagerFileName());
        return 1;
    }
    std::printf("module %s %s %s\n", loaded->GetName().GetBuffer(),
                loaded->GetPlatform().GetBuffer(), loaded->GetType().GetBuffer());
    QVUIManager& manager = *loaded;
    SetUIManager(&manager);
    QVUIWindow host;  // stands for the page's element, as the web player's host item does
    host.StoreWindow(reinterpret_cast<QVHandle>(static_cast<std::intptr_t>(hostId)));
    host.SetManager(&manager);

    QVUIWindow window;
    QVUILabel label;
    QVUIButton button;
    QVUIHandLabel link;
    QVUIWindow inner;
    Recorder recorder(manager, window);
    QVUIItem* items[] = {&window, &label, &button, &link, &inner, &host};
    const char* names[] = {"window", "label", "button", "link", "inner", "host"};
    for (int i = 0; i < Recorder::ItemCount; ++i)
    {
        recorder.items[i] = items[i];
        recorder.names[i] = names[i];
        items[i]->SetListener(&recorder);
    }

    Place(window, hostId != 0 ? "Test window" : "Top window", hostId != 0 ? 0 : 30,
          hostId != 0 ? 0 : 50, 320, 240);
    window.SetBackgroundColour(0x00FFFFFF);
    if (hostId != 0)
        QVUIItem::SetParent(window, host);
    if (!window.Create())
    {
        std::printf("create failed\n");
        return 1;
    }
    Place(label, "Hello label", 10, 10, 200, 20);
    Place(button, "Ask", 10, 40, 100, 30);
    Place(link, "A link", 10, 80, 120, 20);
    Place(inner, "Inner", 200, 120, 100, 80);
    inner.SetBackgroundColour(0x000000FF);  // red
    QVUIItem* children[] = {&label, &button, &link, &inner};
    for (QVUIItem* child : children)
    {
        QVUIItem::SetParent(*child, window);
        if (!child->Create())
            std::printf("create failed\n");
    }
    // A static item's element is made but not attached.
    QVUIItem plain(QV_UI_STATIC);
    QVUIItem::SetParent(plain, window);
    std::printf("static %d\n", plain.Create() ? 1 : 0);
    // The page's own element, taken over: its events reach the host item's listener too.
    int attached = manager.AttachWindow(&host);
    std::printf("attached %d\n", attached);
    if (attached != 0)
        recorder.host = &host;
    QVUIWindow missing;
    missing.StoreWindow(reinterpret_cast<QVHandle>(static_cast<std::intptr_t>(1000000)));
    std::printf("attached missing %d\n", manager.AttachWindow(&missing));

    manager.ReadVisibility(&window);
    std::printf("ready %d %d %d %d\n",
                static_cast<int>(reinterpret_cast<std::intptr_t>(window.GetWindow())),
                static_cast<int>(reinterpret_cast<std::intptr_t>(inner.GetWindow())),
                window.IsVisible() ? 1 : 0, manager.SetCursorPosition(&window, 1, 1));

    long iterations = 0;
    while (manager.ProcessMessages(&window, wait))
    {
        ++iterations;
        EM_ASM({ globalThis.qvTestIterations = $0; }, iterations);
    }
    std::printf("ended closed=%d\n", window.IsClosed() ? 1 : 0);
    return 0;
}
