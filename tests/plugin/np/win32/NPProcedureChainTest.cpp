// The page window's procedure: replaced while applets of that page watch its keys, and given back
// in any order of their removal, also when something replaced it after the plug-in.
#include "tests/plugin/np/NPTestSupport.h"

#include <windows.h>

using namespace nptest;

namespace
{
LONG_PTR ProcedureOf(void* window)
{
    return GetWindowLongPtrA(static_cast<HWND>(window), GWLP_WNDPROC);
}

WNDPROC LaterSaved = nullptr;
LRESULT CALLBACK LaterProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(LaterSaved, window, message, wParam, lParam);
}
}  // namespace

TEST(NPProcedureChain, PageProcedureComesBackInEveryOrder)
{
    QV_NEED_DESKTOP();
    for (bool firstGoesFirst : {true, false})
    {
        TestPage page = MakePage(340, 100);
        const LONG_PTR original = ProcedureOf(page.top);
        Embedded left, right;
        left.page = page;
        right.page = page;
        right.page.plugin = AddPluginWindow(page, 190, 20, 160, 100);
        for (Embedded* e : {&left, &right})
        {
            ASSERT_EQ(NPERR_NO_ERROR, NewInstance(*e, {}));
            DescribeWindow(*e, 160, 100);
            ASSERT_EQ(NPERR_NO_ERROR, PluginFuncs().setwindow(&e->handle, &e->window));
        }
        EXPECT_NE(original, ProcedureOf(page.top));
        PluginFuncs().destroy(&(firstGoesFirst ? left : right).handle, nullptr);
        EXPECT_NE(original, ProcedureOf(page.top)) << "the other applet still watches";
        SendKey(page, 'A');
        EXPECT_EQ(1, HostKeyPresses(page));
        PluginFuncs().destroy(&(firstGoesFirst ? right : left).handle, nullptr);
        EXPECT_EQ(original, ProcedureOf(page.top));
        SendKey(page, 'B');
        EXPECT_EQ(2, HostKeyPresses(page));
        DestroyPage(page);
    }
}

TEST(NPProcedureChain, AProcedureInstalledLaterIsNotCutOff)
{
    QV_NEED_DESKTOP();
    TestPage page = MakePage(160, 100);
    Embedded embedded;
    embedded.page = page;
    ASSERT_EQ(NPERR_NO_ERROR, NewInstance(embedded, {}));
    DescribeWindow(embedded, 160, 100);
    ASSERT_EQ(NPERR_NO_ERROR, PluginFuncs().setwindow(&embedded.handle, &embedded.window));
    // Another party subclasses the page after the plug-in.
    LaterSaved = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        static_cast<HWND>(page.top), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterProcedure)));
    PluginFuncs().destroy(&embedded.handle, nullptr);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&LaterProcedure), ProcedureOf(page.top));
    // The chain still reaches the page's own handling.
    SendKey(page, 'A');
    EXPECT_EQ(1, HostKeyPresses(page));
    DestroyPage(page);
}
