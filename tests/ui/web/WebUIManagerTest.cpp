// The web UI manager without a page (under node): the key table, the module's descriptors and
// what the operations do when no element can be made. The page itself is tested in headless
// Chromium (web_ui_test.mjs).
#include "ui/QVUIButton.h"
#include "ui/QVUIWindow.h"
#include "ui/web/QVUIManagerWeb.h"
#include "ui/web/WebVirtualKeys.h"

#include <gtest/gtest.h>

namespace
{

struct KeyCase
{
    const char* code;
    const char* key;
    int expected;
};

TEST(WebVirtualKeys, MapsTheBrowsersKeysToVirtualKeyCodes)
{
    const KeyCase cases[] = {
        // letters follow the layout, in either case; a key without a Latin letter its position
        {"KeyA", "a", 'A'},
        {"KeyA", "A", 'A'},
        {"KeyQ", "a", 'A'},         // AZERTY
        {"KeyY", "z", 'Z'},         // QWERTZ
        {"KeyQ", "\xD0\xB9", 'Q'},  // Cyrillic
        {"KeyQ", "", 'Q'},
        // digits by position, whatever the layout types
        {"Digit1", "&", '1'},
        {"Digit0", "0", '0'},
        // F-keys, and the ends of the range
        {"F1", "F1", 0x70},
        {"F24", "F24", 0x87},
        {"F25", "F25", 0},
        {"F0", "F0", 0},
        // keypad: digits with Num Lock on, the editing keys with it off
        {"Numpad0", "0", 0x60},
        {"Numpad9", "9", 0x69},
        {"Numpad8", "ArrowUp", 0x26},
        {"Numpad5", "Clear", 0x0C},
        {"Numpad0", "Insert", 0x2D},
        {"NumpadDecimal", ".", 0x6E},
        {"NumpadDecimal", "Delete", 0x2E},
        {"NumpadEnter", "Enter", 0x0D},
        // named keys, modifiers on either side
        {"Escape", "Escape", 0x1B},
        {"Space", " ", 0x20},
        {"ShiftRight", "Shift", 0x10},
        {"ControlLeft", "Control", 0x11},
        {"AltRight", "AltGraph", 0x12},
        {"Quote", "'", 0xDE},
        {"IntlBackslash", "<", 0xE2},
        // nothing to deliver
        {"", "", 0},
        {"Unidentified", "Unidentified", 0},
        {"KeyAB", "x", 'X'},
        {"Digit10", "1", 0},
        {"Numpad", "", 0},
        {"AudioVolumeMute", "AudioVolumeMute", 0},
    };
    for (const KeyCase& c : cases)
        EXPECT_EQ(c.expected, WebVirtualKeys::FromKeyEvent(c.code, c.key))
            << "code \"" << c.code << "\" key \"" << c.key << "\"";
    EXPECT_EQ(0, WebVirtualKeys::FromKeyEvent(nullptr, nullptr));
    EXPECT_EQ('B', WebVirtualKeys::FromKeyEvent(nullptr, "b"));
}

TEST(WebUIManager, DescribesItself)
{
    QVUIManagerWeb manager;
    EXPECT_STREQ("qvuimanagerweb.qvm", manager.GetFileName().GetBuffer());
    EXPECT_STREQ("UI Manager Web", manager.GetName().GetBuffer());
    EXPECT_STREQ("Web", manager.GetPlatform().GetBuffer());
    EXPECT_STREQ("UI Manager", manager.GetType().GetBuffer());
    EXPECT_STREQ("qvuimanagerweb.qvm", GetUIManagerFileName());
}

TEST(WebUIManager, WithoutAPageNothingIsMadeAndNoLoopRuns)
{
    QVUIManagerWeb manager;
    QVUIWindow window;
    window.SetManager(&manager);
    window.SetWidth(100);
    window.SetHeight(50);
    EXPECT_FALSE(window.Create());
    EXPECT_EQ(nullptr, window.GetWindow());
    EXPECT_FALSE(manager.ProcessMessages(&window, false));
    EXPECT_FALSE(manager.ProcessMessages(&window, true));
    EXPECT_EQ(0, manager.PostQuit(&window));
    EXPECT_EQ(0, manager.Invalidate(&window));
    EXPECT_EQ(0, manager.AttachWindow(&window));
    EXPECT_EQ(0, manager.SetCursorPosition(&window, 1, 1));
    // Nothing to ask with: as a desktop box that could not be shown.
    QVString text("text");
    QVString caption("caption");
    EXPECT_FALSE(manager.AskYesNo(text, caption));
    EXPECT_EQ(2, manager.AskYesNoCancel(text, caption));
    EXPECT_EQ(0, manager.ShowMessage(text, caption));
}

TEST(WebUIManager, RefusesKindsOutsideTheKnownOnes)
{
    QVUIManagerWeb manager;
    QVUIItem odd(static_cast<QVUIKind>(5));
    EXPECT_FALSE(manager.CreateItem(&odd));
    QVUIItem negative(static_cast<QVUIKind>(-1));
    EXPECT_FALSE(manager.CreateItem(&negative));
}

}  // namespace
