// Host side of UI items: defaults, setters that apply through the manager, parents, Create and
// Destroy, and the procedure word. Uses a recording manager; no window system involved.
#include "ui/QVUIButton.h"
#include "ui/QVUIHandLabel.h"
#include "ui/QVUILabel.h"
#include "ui/QVUIManager.h"
#include "ui/QVUIStatic.h"
#include "ui/QVUIWindow.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace
{

// Records the operations called, by name, and answers CreateItem with a fixed result.
class RecordingManager : public QVUIManager
{
public:
    std::vector<std::string> calls;
    bool createResult = true;
    QVString lastCaption;

    bool CreateItem(QVUIItem*) override
    {
        calls.push_back("CreateItem");
        return createResult;
    }
    void ReadVisibility(QVUIItem*) override { calls.push_back("ReadVisibility"); }
    void ApplyVisibility(QVUIItem*) override { calls.push_back("ApplyVisibility"); }
    void ReadText(QVUIItem*) override { calls.push_back("ReadText"); }
    void ApplyText(QVUIItem*) override { calls.push_back("ApplyText"); }
    void ApplyColour(QVUIItem*) override { calls.push_back("ApplyColour"); }
    void ApplyGeometry(QVUIItem*) override { calls.push_back("ApplyGeometry"); }
    int AttachWindow(QVUIItem*) override { return 0; }
    int Invalidate(QVUIItem*) override { return 0; }
    int PostQuit(QVUIItem*) override { return 0; }
    bool ProcessMessages(QVUIItem*, bool) override { return true; }
    bool AskYesNo(QVString&, QVString&) override { return false; }
    int AskYesNoCancel(QVString&, QVString&) override { return 2; }
    int ShowMessage(QVString&, QVString& caption) override
    {
        calls.push_back("ShowMessage");
        lastCaption.Assign(caption);
        return 1;
    }
    int SetCursorPosition(QVUIItem*, int, int) override { return 0; }
};

// Leaves no process-wide manager behind for the next test.
class UIItemTest : public ::testing::Test
{
protected:
    void TearDown() override { SetUIManager(nullptr); }
    RecordingManager manager;
};

TEST_F(UIItemTest, NewItemHasTheDocumentedDefaults)
{
    QVUIWindow item;
    EXPECT_EQ(QV_UI_WINDOW, item.GetKind());
    EXPECT_EQ(nullptr, item.GetParent());
    EXPECT_EQ(nullptr, item.GetManager());
    EXPECT_EQ(0, item.GetCaption().GetLength());
    EXPECT_EQ(0u, item.GetBackgroundColour());
    EXPECT_EQ(0, item.GetX() + item.GetY() + item.GetWidth() + item.GetHeight());
    EXPECT_TRUE(item.IsVisible());
    EXPECT_TRUE(item.IsCursorShown());
    EXPECT_EQ(nullptr, item.GetWindow());
    EXPECT_EQ(static_cast<QVUIListener*>(&item), item.GetListener());
    EXPECT_FALSE(item.IsClosed());
    EXPECT_EQ(0u, item.GetPreviousProcedure());
}

TEST_F(UIItemTest, EachKindClassSetsItsKind)
{
    EXPECT_EQ(QV_UI_STATIC, QVUIStatic().GetKind());
    EXPECT_EQ(QV_UI_WINDOW, QVUIWindow().GetKind());
    EXPECT_EQ(QV_UI_LABEL, QVUILabel().GetKind());
    EXPECT_EQ(QV_UI_BUTTON, QVUIButton().GetKind());
    EXPECT_EQ(QV_UI_HAND_LABEL, QVUIHandLabel().GetKind());
}

TEST_F(UIItemTest, SettersApplyThroughTheManager)
{
    QVUIWindow item;
    item.SetManager(&manager);
    item.SetCaption("caption");
    item.SetBackgroundColour(0x990000);
    item.SetX(1);
    item.SetY(2);
    item.SetWidth(3);
    item.SetHeight(4);
    item.SetVisible(false);
    item.SetCursorShown(false);
    std::vector<std::string> expected = {"ApplyText",       "ApplyColour",    "ApplyGeometry",
                                         "ApplyGeometry",   "ApplyGeometry",  "ApplyGeometry",
                                         "ApplyVisibility", "ApplyVisibility"};
    EXPECT_EQ(expected, manager.calls);
    EXPECT_STREQ("caption", item.GetCaption().GetBuffer());
    EXPECT_EQ(0x990000u, item.GetBackgroundColour());
    EXPECT_EQ(1, item.GetX());
    EXPECT_EQ(4, item.GetHeight());
    EXPECT_FALSE(item.IsVisible());
    EXPECT_FALSE(item.IsCursorShown());
}

TEST_F(UIItemTest, SettersWithoutManagerOnlyStore)
{
    QVUIButton item;
    static const unsigned short wide[] = {0x263A, 'a', 0};
    item.SetCaption(wide);
    item.SetWidth(30);
    EXPECT_EQ(QVString::Wide, item.GetCaption().GetEncoding());
    EXPECT_EQ(0x263A, item.GetCaption().GetCharAt(0));
    EXPECT_EQ(30, item.GetWidth());
    EXPECT_TRUE(manager.calls.empty());
}

TEST_F(UIItemTest, ParentWithManagerGivesItToTheChild)
{
    QVUIWindow parent;
    QVUILabel child;
    int owner = 0;
    parent.SetManager(&manager);
    parent.SetOwner(&owner);
    QVUIItem::SetParent(child, parent);
    EXPECT_EQ(&parent, child.GetParent());
    EXPECT_EQ(&manager, child.GetManager());
    EXPECT_EQ(&owner, child.GetOwner());
}

TEST_F(UIItemTest, ParentWithoutManagerTakesTheChilds)
{
    QVUIWindow parent;
    QVUILabel child;
    int owner = 0;
    child.SetManager(&manager);
    child.SetOwner(&owner);
    QVUIItem::SetParent(child, parent);
    EXPECT_EQ(&manager, parent.GetManager());
    EXPECT_EQ(&owner, parent.GetOwner());
    EXPECT_EQ(nullptr, parent.GetParent());
}

TEST_F(UIItemTest, CreateWithoutAnyManagerFails)
{
    QVUIWindow item;
    EXPECT_FALSE(item.Create());
    EXPECT_EQ(nullptr, item.GetManager());
}

TEST_F(UIItemTest, CreateTakesTheProcessWideManager)
{
    SetUIManager(&manager);
    QVUIWindow item;
    EXPECT_TRUE(item.Create());
    EXPECT_EQ(&manager, item.GetManager());
    manager.createResult = false;
    EXPECT_FALSE(item.Create());
    EXPECT_EQ((std::vector<std::string>{"CreateItem", "CreateItem"}), manager.calls);
}

TEST_F(UIItemTest, OwnManagerWinsOverTheProcessWideOne)
{
    RecordingManager processWide;
    SetUIManager(&processWide);
    QVUIWindow item;
    item.SetManager(&manager);
    item.Create();
    EXPECT_EQ(1u, manager.calls.size());
    EXPECT_TRUE(processWide.calls.empty());
}

TEST_F(UIItemTest, DestroyForgetsThePreviousProcedure)
{
    QVUIWindow item;
    item.SetPreviousProcedure(0x1234);
    item.Destroy();  // no manager: nothing happens
    EXPECT_EQ(0x1234u, item.GetPreviousProcedure());
    item.SetManager(&manager);
    item.Destroy();
    EXPECT_EQ(0u, item.GetPreviousProcedure());
}

TEST_F(UIItemTest, PreviousProcedureKeepsAFullAddress)
{
    // Window procedures live anywhere in the address space of a 64-bit process.
    QVUIWindow item;
    std::uintptr_t address = reinterpret_cast<std::uintptr_t>(&item) | 0x3;
    item.SetPreviousProcedure(address);
    EXPECT_EQ(address, item.GetPreviousProcedure());
    EXPECT_EQ(0, item.GetClassId());
}

TEST_F(UIItemTest, ItemStoresItsSizeAsItsOwnListener)
{
    QVUIWindow item;
    item.GetListener()->OnSize(&item, 640, 480);
    EXPECT_EQ(640, item.GetWidth());
    EXPECT_EQ(480, item.GetHeight());
}

TEST_F(UIItemTest, ShowTextShowsAMessageWithAnEmptyCaption)
{
    QVString text("hello");
    manager.ShowText(text);
    EXPECT_EQ(std::vector<std::string>{"ShowMessage"}, manager.calls);
    EXPECT_EQ(0, manager.lastCaption.GetLength());
}

TEST_F(UIItemTest, DefaultHooksDoNothing)
{
    QVUIWindow item;
    item.SetX(5);
    QVUIManager& base = manager;
    base.PrepareItem(&item);
    base.SyncItem(&item);
    base.ReservedHookA(&item);
    base.ReservedHookD(nullptr);
    EXPECT_EQ(5, item.GetX());
    EXPECT_TRUE(manager.calls.empty());
}

TEST(UIManagerFileName, NamesThisPlatformsModule)
{
    std::string name = GetUIManagerFileName();
    EXPECT_TRUE(name == "qvuimanagerw32.qvm" || name == "qvuimanagerx11.qvm") << name;
}

}  // namespace
