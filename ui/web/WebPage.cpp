#include "ui/web/WebPage.h"

#include <emscripten.h>

// The page side, from WebPageLibrary.js.
extern "C"
{
    int qvui_create(int kind, int parentId, int x, int y, int width, int height, unsigned colour,
                    const char16_t* text, int length);
    int qvui_created(int ticket);
    void qvui_set_text(int id, const char16_t* text, int length);
    void qvui_set_visible(int id, int visible, int cursorShown);
    int qvui_is_visible(int id);
    int qvui_exists(int id);
    int qvui_attach(int id);
    void qvui_remove(int id);
    int qvui_post(int id, int type);
    int qvui_take(int rootId, WebEvent* event);
    int qvui_paused();
    int qvui_frame_due();
    int qvui_box_open(const char16_t* text, int textLength, const char16_t* caption,
                      int captionLength, int buttons);
    int qvui_box_result(int box);
    void qvui_box_close(int box);
}

int WebPage::CreateElement(int kind, int parentId, int x, int y, int width, int height,
                           unsigned colour, const std::u16string& text)
{
    const int made = qvui_create(kind, parentId, x, y, width, height, colour, text.data(),
                                 static_cast<int>(text.size()));
    if (made >= 0)
        return made;
    // A program in a worker asks the page to make the element; the page's answer arrives while
    // the program yields.
    int id = -1;
    while ((id = qvui_created(-made)) < 0)
        emscripten_sleep(0);
    return id;
}

void WebPage::SetText(int id, const std::u16string& text)
{
    qvui_set_text(id, text.data(), static_cast<int>(text.size()));
}

void WebPage::SetVisible(int id, bool visible, bool cursorShown)
{
    qvui_set_visible(id, visible ? 1 : 0, cursorShown ? 1 : 0);
}

bool WebPage::IsVisible(int id) { return qvui_is_visible(id) != 0; }

bool WebPage::Exists(int id) { return qvui_exists(id) != 0; }

bool WebPage::Attach(int id) { return qvui_attach(id) != 0; }

void WebPage::Remove(int id) { qvui_remove(id); }

bool WebPage::Post(int id, WebEventType type) { return qvui_post(id, type) != 0; }

bool WebPage::TakeEvent(int rootId, WebEvent& event) { return qvui_take(rootId, &event) != 0; }

bool WebPage::Paused() { return qvui_paused() != 0; }

bool WebPage::FrameDue() { return qvui_frame_due() != 0; }

int WebPage::OpenBox(const std::u16string& text, const std::u16string& caption, BoxButtons buttons)
{
    return qvui_box_open(text.data(), static_cast<int>(text.size()), caption.data(),
                         static_cast<int>(caption.size()), buttons);
}

int WebPage::BoxResult(int box) { return qvui_box_result(box); }

void WebPage::CloseBox(int box) { qvui_box_close(box); }
