#include "ui/web/QVUIManagerWeb.h"

#include "ui/QVCaptionUnits.h"
#include "ui/web/WebMessageBox.h"
#include "ui/web/WebPage.h"
#include "ui/web/WebVirtualKeys.h"

#include <emscripten.h>

#include <cstdint>

namespace
{

// How long a waiting ProcessMessages lets the page run before it looks at the queue again.
const unsigned WaitStepMilliseconds = 10;
// How often a program the page holds back looks whether it may go on: rarely enough to cost
// nothing, often enough that it is back at once when it is seen again.
const unsigned PausedStepMilliseconds = 100;

int IdOf(const QVUIItem* item)
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(item->GetWindow()));
}

QVHandle HandleOf(int id) { return reinterpret_cast<QVHandle>(static_cast<std::intptr_t>(id)); }

// 0x00BBGGRR (the items' colour form) to 0xRRGGBB.
unsigned RgbOf(std::uint32_t colour)
{
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

}  // namespace

QVUIManagerWeb::QVUIManagerWeb()
{
    SetFileName("qvuimanagerweb.qvm");
    SetName("UI Manager Web");
    SetPlatform("Web");
    SetType("UI Manager");
}

// The elements stay in the page: they belong to it as much as to the program.
QVUIManagerWeb::~QVUIManagerWeb() = default;

QVUIManagerWeb::ElementRecord* QVUIManagerWeb::Find(int id)
{
    auto found = records.find(id);
    return found != records.end() ? &found->second : nullptr;
}

bool QVUIManagerWeb::CreateItem(QVUIItem* item)
{
    if (item->GetManager() != nullptr)
        item->GetManager()->PrepareItem(item);
    QVUIKind kind = item->GetKind();
    if (kind < QV_UI_STATIC || kind > QV_UI_HAND_LABEL)
        return false;

    SyncItem(item);
    int x = item->GetX();
    int y = item->GetY();
    QVUIItem* parentItem = item->GetParent();
    int parent = parentItem != nullptr ? IdOf(parentItem) : 0;
    if (parentItem != nullptr && parent <= 0)
        return false;  // the parent has no element yet: nothing to place this one in
    SyncItem(item);
    int height = item->GetHeight();
    SyncItem(item);
    int width = item->GetWidth();

    std::u16string text = QVCaptionUnits::Units(item->GetCaption());
    int id = WebPage::CreateElement(kind, parent, x, y, width, height,
                                    RgbOf(item->GetBackgroundColour()), text);
    if (id == 0)
        return false;
    ElementRecord& record = records[id];
    record.text = text;
    if (kind == QV_UI_STATIC)
        return false;  // the element exists but the item is not attached to it

    record.item = item;
    item->StoreWindow(HandleOf(id));
    item->StoreVisible(true);
    if (item->GetManager() != nullptr)
        item->GetManager()->ApplyVisibility(item);
    return true;
}

void QVUIManagerWeb::ReadVisibility(QVUIItem* item)
{
    if (item->GetWindow() == nullptr)
        return;
    item->StoreVisible(WebPage::IsVisible(IdOf(item)));
}

void QVUIManagerWeb::ApplyVisibility(QVUIItem* item)
{
    if (item->GetWindow() == nullptr)
        return;
    // Like the Windows cursor display count: each call counts one up or down.
    cursorCount += item->IsCursorShown() ? 1 : -1;
    WebPage::SetVisible(IdOf(item), item->IsVisible(), cursorCount >= 0);
}

void QVUIManagerWeb::ReadText(QVUIItem* item)
{
    if (item->GetWindow() == nullptr)
        return;
    const ElementRecord* record = Find(IdOf(item));
    QVCaptionUnits::Store(record != nullptr ? record->text : std::u16string(), item->GetCaption());
}

void QVUIManagerWeb::ApplyText(QVUIItem* item)
{
    if (item->GetWindow() == nullptr)
        return;
    int id = IdOf(item);
    ElementRecord& record = records[id];
    record.text = QVCaptionUnits::Units(item->GetCaption());
    WebPage::SetText(id, record.text);
}

int QVUIManagerWeb::AttachWindow(QVUIItem* item)
{
    if (item->GetWindow() == nullptr)
        return 0;
    int id = IdOf(item);
    if (id <= 0 || !WebPage::Attach(id))
        return 0;
    records[id].item = item;
    return 1;
}

int QVUIManagerWeb::Invalidate(QVUIItem* item)
{
    // Nothing to repaint: the page draws the elements, a renderer its canvas.
    return item->GetWindow() != nullptr && WebPage::Exists(IdOf(item)) ? 1 : 0;
}

int QVUIManagerWeb::PostQuit(QVUIItem* item)
{
    if (item->GetWindow() == nullptr)
        return 0;
    return WebPage::Post(IdOf(item), WEB_EVENT_QUIT) ? 1 : 0;
}

bool QVUIManagerWeb::NextEvent(QVUIItem* item, int id, bool wait, WebEvent& event)
{
    if (WebPage::TakeEvent(id, event))
        return true;
    // Nothing waits: the page runs (draws, delivers input) before the loop goes on. One yield
    // per call without events (in a worker, until the next frame is shown: a loop that draws
    // faster would only spend the machine), none while events wait, so a burst drains at once.
    do
    {
        emscripten_sleep(wait ? WaitStepMilliseconds : 0);
        if (!WebPage::Exists(id))
        {
            item->StoreClosed(true);
            return false;
        }
        if (WebPage::TakeEvent(id, event))
            return true;
    } while (wait ? !item->IsClosed() : !WebPage::FrameDue());
    return false;
}

bool QVUIManagerWeb::ProcessMessages(QVUIItem* item, bool wait)
{
    if (item->IsClosed())
        return false;
    int id = IdOf(item);
    // Nothing to take messages for: a loop that went on would only spin.
    if (id <= 0)
        return false;
    // The page removed the element (the applet's area went away): the window is gone.
    if (!WebPage::Exists(id))
    {
        item->StoreClosed(true);
        return false;
    }
    // Out of sight (a hidden tab, an applet scrolled away): the loop is not served until it
    // is seen again, so that its drawing costs nothing meanwhile.
    while (WebPage::Paused())
    {
        emscripten_sleep(PausedStepMilliseconds);
        if (!WebPage::Exists(id))
        {
            item->StoreClosed(true);
            return false;
        }
    }
    WebEvent event;
    if (!NextEvent(item, id, wait, event))
        return !item->IsClosed() && !wait;
    if (event.type == WEB_EVENT_QUIT)
        return false;
    DispatchEvent(event);
    // The item's own window was closed: the loop that serves it ends.
    if (event.type == WEB_EVENT_CLOSE && event.window == id)
        return false;
    return true;
}

void QVUIManagerWeb::DispatchEvent(const WebEvent& event)
{
    ElementRecord* record = Find(event.window);
    QVUIItem* item = record != nullptr ? record->item : nullptr;
    QVUIListener* listener = item != nullptr ? item->GetListener() : nullptr;
    if (event.type == WEB_EVENT_SIZE && item != nullptr)
        item->StoreSize(event.x, event.y);
    if (listener != nullptr)
    {
        switch (event.type)
        {
        case WEB_EVENT_KEY_DOWN:
        case WEB_EVENT_KEY_UP:
        {
            int key = WebVirtualKeys::FromKeyEvent(event.code, event.key);
            if (key == 0)
                break;
            if (event.type == WEB_EVENT_KEY_DOWN)
                listener->OnKeyDown(item, 0, key);
            else
                listener->OnKeyUp(item, 0, key);
            break;
        }
        case WEB_EVENT_MOUSE_MOVE:
            listener->OnMouseMove(item, static_cast<unsigned short>(event.flags), event.x, event.y,
                                  0);
            break;
        case WEB_EVENT_COMMAND:
        {
            const ElementRecord* control = Find(event.control);
            listener->OnCommand(control != nullptr ? control->item : nullptr);
            break;
        }
        case WEB_EVENT_SIZE:
            listener->OnSize(item, event.x, event.y);
            break;
        case WEB_EVENT_CLOSE:
            item->StoreClosed(true);
            break;
        default:
            break;
        }
    }
    // What the element does by itself: a closed window goes away, as a desktop window is
    // destroyed when it is closed.
    if (event.type == WEB_EVENT_CLOSE)
    {
        WebPage::Remove(event.window);
        records.erase(event.window);
    }
}

bool QVUIManagerWeb::AskYesNo(QVString& text, QVString& caption)
{
    return WebMessageBox::Run(QVCaptionUnits::Units(text), QVCaptionUnits::Units(caption),
                              WebPage::BoxYesNo) == QV_UI_RESULT_YES;
}

int QVUIManagerWeb::AskYesNoCancel(QVString& text, QVString& caption)
{
    switch (WebMessageBox::Run(QVCaptionUnits::Units(text), QVCaptionUnits::Units(caption),
                               WebPage::BoxYesNoCancel))
    {
    case QV_UI_RESULT_YES:
        return 1;
    case QV_UI_RESULT_NO:
        return 0;
    default:
        return 2;
    }
}

int QVUIManagerWeb::ShowMessage(QVString& text, QVString& caption)
{
    return WebMessageBox::Run(QVCaptionUnits::Units(text), QVCaptionUnits::Units(caption),
                              WebPage::BoxOk);
}

int QVUIManagerWeb::SetCursorPosition(QVUIItem*, int, int) { return 0; }
