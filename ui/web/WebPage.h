#pragma once

#include "ui/web/WebEvent.h"

#include <string>

// The page as the web UI manager sees it: item elements addressed by their id N ("qvwin-N"),
// the queue of their events and modal message boxes. The page side lives in WebPageLibrary.js;
// outside a page (no document) elements cannot be made and no event ever arrives.
class WebPage
{
public:
    // Makes the element of an item of the given kind (QVUIKind) inside the element of parentId,
    // or inside the page's root for windows without a parent (0), hidden. colour is 0xRRGGBB.
    // Returns its id, 0 when there is no page or no such parent element.
    static int CreateElement(int kind, int parentId, int x, int y, int width, int height,
                             unsigned colour, const std::u16string& text);
    static void SetText(int id, const std::u16string& text);
    static void SetVisible(int id, bool visible, bool cursorShown);
    // Whether the element and all its ancestors are shown.
    static bool IsVisible(int id);
    // Whether the element is (still) in the page.
    static bool Exists(int id);
    // Starts queueing the key and mouse events of an element the host made. False without one.
    static bool Attach(int id);
    static void Remove(int id);
    // Queues an event of the given type for the element, behind those already waiting. False
    // when the queue is full.
    static bool Post(int id, WebEventType type);
    // Takes the oldest event of the element rootId or of an element inside it.
    static bool TakeEvent(int rootId, WebEvent& event);
    // Whether the page holds the program back: its applet is hidden or out of view.
    static bool Paused();
    // Whether a loop that draws may go on: always on the page's thread; in a worker with a
    // canvas, once the browser showed a frame since the last time it said so.
    static bool FrameDue();

    enum BoxButtons
    {
        BoxOk = 0,
        BoxYesNo = 1,
        BoxYesNoCancel = 2,
    };
    // Shows a modal box and returns its number (0 when none could be shown); BoxResult is 0
    // while it waits, then the Windows message box result of the answer; CloseBox removes it.
    static int OpenBox(const std::u16string& text, const std::u16string& caption,
                       BoxButtons buttons);
    static int BoxResult(int box);
    static void CloseBox(int box);
};
