// The X11 manager where no display can be opened (DISPLAY unset, or naming no server): it makes
// no windows, its message loop ends at once instead of spinning, and a message box returns
// without waiting for an answer nobody can give.
// GoogleTest goes first: the X headers define macros (None, Bool) that clash with its names.
#include <gtest/gtest.h>

#include "ui/QVUIWindow.h"
#include "ui/x11/QVUIManagerX11.h"

#include <cstdlib>
#include <string>

namespace
{

// Sets DISPLAY (null: unsets it) for the life of the object, then puts back what was there.
class DisplayVariable
{
public:
    explicit DisplayVariable(const char* value)
    {
        const char* old = std::getenv("DISPLAY");
        hadOld = old != nullptr;
        if (hadOld)
            oldValue = old;
        if (value != nullptr)
            setenv("DISPLAY", value, 1);
        else
            unsetenv("DISPLAY");
    }
    ~DisplayVariable()
    {
        if (hadOld)
            setenv("DISPLAY", oldValue.c_str(), 1);
        else
            unsetenv("DISPLAY");
    }

private:
    bool hadOld = false;
    std::string oldValue;
};

}  // namespace

TEST(X11NoDisplayTest, NoWindowAndTheLoopEndsWaitingOrNot)
{
    for (const char* display : {static_cast<const char*>(nullptr), ":4711"})
    {
        SCOPED_TRACE(display != nullptr ? display : "DISPLAY unset");
        DisplayVariable variable(display);
        QVUIManagerX11 manager;
        QVUIWindow window;
        window.SetManager(&manager);
        window.SetWidth(100);
        window.SetHeight(50);
        EXPECT_FALSE(window.Create());
        EXPECT_EQ(nullptr, window.GetWindow());
        EXPECT_FALSE(manager.ProcessMessages(&window, false));
        EXPECT_FALSE(manager.ProcessMessages(&window, true));
        QVString text("text");
        QVString caption("caption");
        EXPECT_EQ(0, manager.ShowMessage(text, caption));
        window.SetManager(nullptr);
    }
}
