#include "ui/x11/X11MessageBox.h"

#include "ui/QVUIManager.h"
#include "ui/x11/QVUIManagerX11.h"
#include "ui/x11/X11Text.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>

namespace
{

const int Margin = 14;
const int IconSize = 32;
const int ButtonWidth = 80;
const int ButtonHeight = 26;
const int ButtonGap = 8;
const std::uint32_t DialogColour = 0xF0F0F0;
const std::uint32_t BandColour = 0xE4E4E4;
const std::uint32_t QuestionColour = 0x2A64C8;

}  // namespace

X11MessageBox::X11MessageBox(QVUIManagerX11& owner, Buttons kind)
    : manager(owner), display(owner.GetDisplay()), buttons(kind), questionIcon(kind != Ok)
{
    switch (buttons)
    {
    case Ok:
        choices.push_back({"OK", QV_UI_RESULT_OK, 0, 0, 0, 0});
        break;
    case YesNo:
        choices.push_back({"Yes", QV_UI_RESULT_YES, 0, 0, 0, 0});
        choices.push_back({"No", QV_UI_RESULT_NO, 0, 0, 0, 0});
        break;
    case YesNoCancel:
        choices.push_back({"Yes", QV_UI_RESULT_YES, 0, 0, 0, 0});
        choices.push_back({"No", QV_UI_RESULT_NO, 0, 0, 0, 0});
        choices.push_back({"Cancel", QV_UI_RESULT_CANCEL, 0, 0, 0, 0});
        break;
    }
}

bool X11MessageBox::Has(int result) const
{
    for (const Choice& choice : choices)
        if (choice.result == result)
            return true;
    return false;
}

void X11MessageBox::Layout(const std::u16string& text)
{
    // Lines split at line feeds; a carriage return before one is dropped.
    std::u16string line;
    for (char16_t unit : text)
    {
        if (unit == u'\n')
        {
            lines.push_back(X11Text::Utf8(line));
            line.clear();
        }
        else if (unit != u'\r')
        {
            line.push_back(unit);
        }
    }
    lines.push_back(X11Text::Utf8(line));

    X11Painter& painter = manager.GetPainter();
    textWidth = 0;
    for (const std::string& each : lines)
        textWidth = std::max(textWidth, painter.TextWidth(each));
    textHeight = static_cast<int>(lines.size()) * painter.LineHeight();
    int iconRoom = questionIcon ? IconSize + Margin : 0;
    int count = static_cast<int>(choices.size());
    int rowWidth = count * ButtonWidth + (count - 1) * ButtonGap;

    width = std::max(Margin + iconRoom + textWidth + Margin, Margin + rowWidth + Margin);
    width = std::max(width, 220);
    int bodyHeight = std::max(textHeight, questionIcon ? IconSize : 0);
    textX = Margin + iconRoom;
    textY = Margin + (bodyHeight - textHeight) / 2;
    bandY = Margin + bodyHeight + Margin;
    height = bandY + Margin / 2 + ButtonHeight + Margin / 2;

    int x = width - Margin - rowWidth;
    for (Choice& choice : choices)
    {
        choice.x = x;
        choice.y = bandY + Margin / 2;
        choice.width = ButtonWidth;
        choice.height = ButtonHeight;
        x += ButtonWidth + ButtonGap;
    }
}

void X11MessageBox::Paint()
{
    X11Painter& painter = manager.GetPainter();
    painter.Fill(dialog, 0, 0, width, height, DialogColour);
    painter.Fill(dialog, 0, bandY, width, height - bandY, BandColour);
    if (questionIcon)
    {
        painter.Disc(dialog, Margin, Margin, IconSize, QuestionColour);
        int markX = Margin + (IconSize - painter.BigTextWidth("?")) / 2;
        int markY = Margin + (IconSize - painter.BigLineHeight()) / 2;
        painter.BigText(dialog, "?", markX, markY, 0xFFFFFF);
    }
    int y = textY;
    for (const std::string& line : lines)
    {
        painter.Text(dialog, line, textX, y, 0x000000);
        y += painter.LineHeight();
    }
    for (size_t i = 0; i < choices.size(); ++i)
    {
        const Choice& choice = choices[i];
        bool down = pressed == static_cast<int>(i) && pressedInside;
        painter.Fill(dialog, choice.x, choice.y, choice.width, choice.height, DialogColour);
        painter.Frame(dialog, choice.x, choice.y, choice.width, choice.height, !down);
        int offset = down ? 1 : 0;
        int labelX = choice.x + (choice.width - painter.TextWidth(choice.label)) / 2 + offset;
        int labelY = choice.y + (choice.height - painter.LineHeight()) / 2 + offset;
        painter.Text(dialog, choice.label, labelX, labelY, 0x000000);
        if (static_cast<int>(i) == focused)
            painter.FocusMark(dialog, choice.x + 4, choice.y + 4, choice.width - 8,
                              choice.height - 8);
    }
    XFlush(display);
}

int X11MessageBox::ChoiceAt(int x, int y) const
{
    for (size_t i = 0; i < choices.size(); ++i)
    {
        const Choice& choice = choices[i];
        if (x >= choice.x && x < choice.x + choice.width && y >= choice.y &&
            y < choice.y + choice.height)
            return static_cast<int>(i);
    }
    return -1;
}

int X11MessageBox::AnswerKey(XKeyEvent& key)
{
    KeySym symbol = XLookupKeysym(&key, 0);
    int count = static_cast<int>(choices.size());
    switch (symbol)
    {
    case XK_Return:
    case XK_KP_Enter:
    case XK_space:
        return choices[static_cast<size_t>(focused)].result;
    case XK_Escape:
        if (Has(QV_UI_RESULT_CANCEL))
            return QV_UI_RESULT_CANCEL;
        return buttons == Ok ? QV_UI_RESULT_OK : 0;
    case XK_y:
    case XK_Y:
        return Has(QV_UI_RESULT_YES) ? QV_UI_RESULT_YES : 0;
    case XK_n:
    case XK_N:
        return Has(QV_UI_RESULT_NO) ? QV_UI_RESULT_NO : 0;
    case XK_Tab:
    case XK_Right:
    case XK_Down:
        focused = (key.state & ShiftMask) && symbol == XK_Tab ? (focused + count - 1) % count
                                                              : (focused + 1) % count;
        Paint();
        return 0;
    case XK_ISO_Left_Tab:
    case XK_Left:
    case XK_Up:
        focused = (focused + count - 1) % count;
        Paint();
        return 0;
    default:
        return 0;
    }
}

int X11MessageBox::Run(const std::u16string& text, const std::u16string& caption)
{
    if (display == nullptr)
        return 0;
    Layout(text);

    const XVisualInfo& visual = manager.GetVisualInfo();
    int screen = visual.screen;
    XSetWindowAttributes attributes = {};
    attributes.colormap = manager.GetColormap();
    attributes.background_pixel = manager.GetPainter().Pixel(DialogColour);
    attributes.border_pixel = 0;
    attributes.cursor = manager.GetArrowCursor();
    attributes.event_mask = ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask |
                            PointerMotionMask | StructureNotifyMask | FocusChangeMask;
    int x = (DisplayWidth(display, screen) - width) / 2;
    int y = (DisplayHeight(display, screen) - height) / 3;
    dialog = XCreateWindow(
        display, RootWindow(display, screen), x, y, static_cast<unsigned>(width),
        static_cast<unsigned>(height), 0, visual.depth, InputOutput, visual.visual,
        CWColormap | CWBackPixel | CWBorderPixel | CWCursor | CWEventMask, &attributes);
    if (dialog == 0)
        return 0;

    // A fixed-size dialog in the middle of the screen that takes the keyboard focus.
    XSizeHints hints = {};
    hints.flags = USPosition | PMinSize | PMaxSize;
    hints.x = x;
    hints.y = y;
    hints.min_width = hints.max_width = width;
    hints.min_height = hints.max_height = height;
    XSetWMNormalHints(display, dialog, &hints);
    XWMHints wmHints = {};
    wmHints.flags = InputHint;
    wmHints.input = True;
    XSetWMHints(display, dialog, &wmHints);
    Atom deleteWindow = manager.GetDeleteWindowAtom();
    XSetWMProtocols(display, dialog, &deleteWindow, 1);
    Atom windowType = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    Atom dialogType = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    XChangeProperty(display, dialog, windowType, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&dialogType), 1);
    Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    Atom modal = XInternAtom(display, "_NET_WM_STATE_MODAL", False);
    XChangeProperty(display, dialog, state, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&modal), 1);
    XClassHint classHint;
    char name[] = "qvui";
    char className[] = "QVUIMessageBox";
    classHint.res_name = name;
    classHint.res_class = className;
    XSetClassHint(display, dialog, &classHint);
    manager.SetTitle(dialog, caption);
    // The text is also the name of an input-only child window over it, as a Windows message box
    // holds its text in a static control: tools that read window texts find it.
    Window textWindow =
        XCreateWindow(display, dialog, textX, textY, static_cast<unsigned>(std::max(textWidth, 1)),
                      static_cast<unsigned>(std::max(textHeight, 1)), 0, 0, InputOnly,
                      CopyFromParent, 0, nullptr);
    if (textWindow != 0)
    {
        manager.SetTitle(textWindow, text);
        XMapWindow(display, textWindow);
    }
    XMapRaised(display, dialog);
    XFlush(display);

    std::vector<XEvent> keptQuits;
    int result = 0;
    while (result == 0)
    {
        XEvent event;
        XNextEvent(display, &event);
        if (event.xany.window != dialog)
        {
            if (manager.IsQuitMessage(event))
                keptQuits.push_back(event);
            else
                manager.DispatchEvent(event);
            continue;
        }
        switch (event.type)
        {
        case MapNotify:
            XSetInputFocus(display, dialog, RevertToParent, CurrentTime);
            break;
        case Expose:
            if (event.xexpose.count == 0)
                Paint();
            break;
        case KeyPress:
            result = AnswerKey(event.xkey);
            break;
        case ButtonPress:
            if (event.xbutton.button == Button1)
            {
                pressed = ChoiceAt(event.xbutton.x, event.xbutton.y);
                pressedInside = pressed >= 0;
                if (pressed >= 0)
                    focused = pressed;
                Paint();
            }
            break;
        case MotionNotify:
            if (pressed >= 0)
            {
                bool inside = ChoiceAt(event.xmotion.x, event.xmotion.y) == pressed;
                if (inside != pressedInside)
                {
                    pressedInside = inside;
                    Paint();
                }
            }
            break;
        case ButtonRelease:
            if (event.xbutton.button == Button1 && pressed >= 0)
            {
                if (ChoiceAt(event.xbutton.x, event.xbutton.y) == pressed)
                    result = choices[static_cast<size_t>(pressed)].result;
                pressed = -1;
                pressedInside = false;
                Paint();
            }
            break;
        case ClientMessage:
            if (manager.IsCloseRequest(event))
            {
                if (Has(QV_UI_RESULT_CANCEL))
                    result = QV_UI_RESULT_CANCEL;
                else if (buttons == Ok)
                    result = QV_UI_RESULT_OK;
            }
            break;
        default:
            break;
        }
    }
    XDestroyWindow(display, dialog);
    // The kept quit messages go back in their order, ahead of what arrived since.
    for (auto kept = keptQuits.rbegin(); kept != keptQuits.rend(); ++kept)
        XPutBackEvent(display, &*kept);
    XFlush(display);
    dialog = 0;
    return result;
}
