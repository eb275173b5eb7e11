#include "ui/web/WebMessageBox.h"

#include <emscripten.h>

namespace
{
// How often the waiting caller looks at the box; the page runs in between.
const unsigned AnswerPollMilliseconds = 20;
}  // namespace

int WebMessageBox::Run(const std::u16string& text, const std::u16string& caption,
                       WebPage::BoxButtons buttons)
{
    int box = WebPage::OpenBox(text, caption, buttons);
    if (box == 0)
        return 0;
    int result = 0;
    while ((result = WebPage::BoxResult(box)) == 0)
        emscripten_sleep(AnswerPollMilliseconds);
    WebPage::CloseBox(box);
    return result;
}
