#include "ui/x11/X11Painter.h"

namespace
{

// Position of a mask's lowest set bit and the number of its bits.
void MaskShape(unsigned long mask, int& shift, int& bits)
{
    shift = 0;
    bits = 0;
    if (mask == 0)
        return;
    while ((mask & 1) == 0)
    {
        mask >>= 1;
        ++shift;
    }
    while (mask & 1)
    {
        mask >>= 1;
        ++bits;
    }
}

unsigned long Scale(std::uint32_t component, int shift, int bits)
{
    // 8-bit component to a field of `bits` bits.
    unsigned long value = bits >= 8 ? component << (bits - 8) : component >> (8 - bits);
    return value << shift;
}

}  // namespace

X11Painter::X11Painter()
    : display(nullptr), visual(nullptr), colormap(0), gc(nullptr), font(nullptr), bigFont(nullptr),
      redShift(16), greenShift(8), blueShift(0), redBits(8), greenBits(8), blueBits(8)
{
}

X11Painter::~X11Painter() { Close(); }

bool X11Painter::Open(Display* targetDisplay, Visual* targetVisual, Colormap targetColormap,
                      int depth)
{
    display = targetDisplay;
    visual = targetVisual;
    colormap = targetColormap;
    MaskShape(visual->red_mask, redShift, redBits);
    MaskShape(visual->green_mask, greenShift, greenBits);
    MaskShape(visual->blue_mask, blueShift, blueBits);

    // A graphics context fits every drawable of its depth on the screen: make it on a scratch
    // pixmap of our depth.
    Pixmap scratch = XCreatePixmap(display, DefaultRootWindow(display), 1, 1, depth);
    gc = XCreateGC(display, scratch, 0, nullptr);
    XFreePixmap(display, scratch);

    int screen = DefaultScreen(display);
    font = XftFontOpenName(display, screen, "DejaVu Sans,sans-serif:pixelsize=13");
    bigFont = XftFontOpenName(display, screen, "DejaVu Sans,sans-serif:bold:pixelsize=24");
    return font != nullptr && bigFont != nullptr;
}

void X11Painter::Close()
{
    if (display == nullptr)
        return;
    if (font != nullptr)
        XftFontClose(display, font);
    if (bigFont != nullptr)
        XftFontClose(display, bigFont);
    if (gc != nullptr)
        XFreeGC(display, gc);
    font = nullptr;
    bigFont = nullptr;
    gc = nullptr;
    display = nullptr;
}

unsigned long X11Painter::Pixel(std::uint32_t rgb) const
{
    return Scale((rgb >> 16) & 0xFF, redShift, redBits) |
           Scale((rgb >> 8) & 0xFF, greenShift, greenBits) | Scale(rgb & 0xFF, blueShift, blueBits);
}

void X11Painter::Fill(Drawable target, int x, int y, int width, int height, std::uint32_t rgb)
{
    std::lock_guard<std::recursive_mutex> hold(lock);
    if (gc == nullptr || width <= 0 || height <= 0)
        return;
    XSetForeground(display, gc, Pixel(rgb));
    XFillRectangle(display, target, gc, x, y, static_cast<unsigned>(width),
                   static_cast<unsigned>(height));
}

void X11Painter::Frame(Drawable target, int x, int y, int width, int height, bool raised)
{
    std::lock_guard<std::recursive_mutex> hold(lock);
    const std::uint32_t light = 0xFFFFFF, shadow = 0xA0A0A0, dark = 0x404040;
    std::uint32_t outerTopLeft = raised ? light : dark;
    std::uint32_t outerBottomRight = raised ? dark : light;
    std::uint32_t innerBottomRight = raised ? shadow : 0xE3E3E3;
    std::uint32_t innerTopLeft = raised ? 0xE3E3E3 : shadow;
    int right = x + width - 1, bottom = y + height - 1;
    Fill(target, x, y, width, 1, outerTopLeft);
    Fill(target, x, y, 1, height, outerTopLeft);
    Fill(target, x, bottom, width, 1, outerBottomRight);
    Fill(target, right, y, 1, height, outerBottomRight);
    Fill(target, x + 1, y + 1, width - 2, 1, innerTopLeft);
    Fill(target, x + 1, y + 1, 1, height - 2, innerTopLeft);
    Fill(target, x + 1, bottom - 1, width - 2, 1, innerBottomRight);
    Fill(target, right - 1, y + 1, 1, height - 2, innerBottomRight);
}

void X11Painter::FocusMark(Drawable target, int x, int y, int width, int height)
{
    std::lock_guard<std::recursive_mutex> hold(lock);
    if (gc == nullptr || width <= 0 || height <= 0)
        return;
    XSetForeground(display, gc, Pixel(0x000000));
    XSetLineAttributes(display, gc, 1, LineOnOffDash, CapButt, JoinMiter);
    char dashes[] = {1, 1};
    XSetDashes(display, gc, 0, dashes, 2);
    XDrawRectangle(display, target, gc, x, y, static_cast<unsigned>(width - 1),
                   static_cast<unsigned>(height - 1));
    XSetLineAttributes(display, gc, 1, LineSolid, CapButt, JoinMiter);
}

void X11Painter::Disc(Drawable target, int x, int y, int size, std::uint32_t rgb)
{
    std::lock_guard<std::recursive_mutex> hold(lock);
    if (gc == nullptr)
        return;
    XSetForeground(display, gc, Pixel(rgb));
    XFillArc(display, target, gc, x, y, static_cast<unsigned>(size), static_cast<unsigned>(size), 0,
             360 * 64);
}

void X11Painter::Text(Drawable target, const std::string& utf8, int x, int y, std::uint32_t rgb)
{
    DrawWith(font, target, utf8, x, y, rgb);
}

void X11Painter::BigText(Drawable target, const std::string& utf8, int x, int y, std::uint32_t rgb)
{
    DrawWith(bigFont, target, utf8, x, y, rgb);
}

int X11Painter::TextWidth(const std::string& utf8) const
{
    std::lock_guard<std::recursive_mutex> hold(lock);
    return WidthWith(display, font, utf8);
}

int X11Painter::BigTextWidth(const std::string& utf8) const
{
    std::lock_guard<std::recursive_mutex> hold(lock);
    return WidthWith(display, bigFont, utf8);
}

int X11Painter::LineHeight() const { return font != nullptr ? font->ascent + font->descent : 13; }

int X11Painter::BigLineHeight() const
{
    return bigFont != nullptr ? bigFont->ascent + bigFont->descent : 24;
}

void X11Painter::DrawWith(XftFont* face, Drawable target, const std::string& utf8, int x, int y,
                          std::uint32_t rgb)
{
    std::lock_guard<std::recursive_mutex> hold(lock);
    if (face == nullptr || utf8.empty())
        return;
    XftDraw* draw = XftDrawCreate(display, target, visual, colormap);
    if (draw == nullptr)
        return;
    XRenderColor renderColour;
    renderColour.red = static_cast<unsigned short>(((rgb >> 16) & 0xFF) * 0x101);
    renderColour.green = static_cast<unsigned short>(((rgb >> 8) & 0xFF) * 0x101);
    renderColour.blue = static_cast<unsigned short>((rgb & 0xFF) * 0x101);
    renderColour.alpha = 0xFFFF;
    XftColor colour;
    if (XftColorAllocValue(display, visual, colormap, &renderColour, &colour))
    {
        XftDrawStringUtf8(draw, &colour, face, x, y + face->ascent,
                          reinterpret_cast<const FcChar8*>(utf8.data()),
                          static_cast<int>(utf8.size()));
        XftColorFree(display, visual, colormap, &colour);
    }
    XftDrawDestroy(draw);
}

int X11Painter::WidthWith(Display* display, XftFont* face, const std::string& utf8)
{
    if (face == nullptr || utf8.empty())
        return 0;
    XGlyphInfo extents;
    XftTextExtentsUtf8(display, face, reinterpret_cast<const FcChar8*>(utf8.data()),
                       static_cast<int>(utf8.size()), &extents);
    return extents.xOff;
}
