#pragma once

#include <X11/Xft/Xft.h>
#include <X11/Xlib.h>

#include <cstdint>
#include <mutex>
#include <string>

// Draws the UI manager's own widgets (labels, buttons, message boxes): filled rectangles, 3D
// frames and anti-aliased text through Xft with a fontconfig sans-serif face. Every window of the
// manager shares one visual and colour map, so one painter serves them all, on every thread that
// serves windows of the manager (applets on threads of their own): drawing is serialised, since
// the faces' glyph caches and the graphics context are shared.
class X11Painter
{
public:
    X11Painter();
    ~X11Painter();
    X11Painter(const X11Painter&) = delete;
    X11Painter& operator=(const X11Painter&) = delete;

    // Binds the painter to the display's visual and colour map. Returns false when no font could
    // be opened (drawing then does nothing).
    bool Open(Display* display, Visual* visual, Colormap colormap, int depth);
    // Frees the font, colours and graphics context; call before the display closes.
    void Close();

    // The pixel value of a 0xRRGGBB colour in the painter's visual.
    unsigned long Pixel(std::uint32_t rgb) const;
    void Fill(Drawable target, int x, int y, int width, int height, std::uint32_t rgb);
    // A 2-pixel 3D frame: raised (light top-left, dark bottom-right) or sunken.
    void Frame(Drawable target, int x, int y, int width, int height, bool raised);
    // A 1-pixel dotted rectangle, the keyboard focus mark.
    void FocusMark(Drawable target, int x, int y, int width, int height);
    // Filled circle of the given colour, bounding box at (x, y).
    void Disc(Drawable target, int x, int y, int size, std::uint32_t rgb);
    // UTF-8 text with its top-left corner at (x, y).
    void Text(Drawable target, const std::string& utf8, int x, int y, std::uint32_t rgb);
    // Text in a larger bold face (the question mark of the question icon).
    void BigText(Drawable target, const std::string& utf8, int x, int y, std::uint32_t rgb);
    int TextWidth(const std::string& utf8) const;
    int BigTextWidth(const std::string& utf8) const;
    int LineHeight() const;
    int BigLineHeight() const;

private:
    void DrawWith(XftFont* face, Drawable target, const std::string& utf8, int x, int y,
                  std::uint32_t rgb);
    static int WidthWith(Display* display, XftFont* face, const std::string& utf8);

    Display* display;
    Visual* visual;
    Colormap colormap;
    GC gc;
    XftFont* font;
    XftFont* bigFont;
    int redShift, greenShift, blueShift;
    int redBits, greenBits, blueBits;
    mutable std::recursive_mutex lock;
};
