// The platform's UI manager with real windows: item creation by kind, the message loop, events
// reaching listeners with the arguments the listener interface promises, window text and
// attaching windows made elsewhere. Needs a display (the test runner starts one).
#include "tests/ui/UITestDriver.h"
#include "ui/QVUIButton.h"
#include "ui/QVUIHandLabel.h"
#include "ui/QVUILabel.h"
#include "ui/QVUIManager.h"
#include "ui/QVUIStatic.h"
#include "ui/QVUIWindow.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace
{

struct Event
{
    int type;  // 'C' command, 'S' size, 'M' mouse move, 'D' key down, 'U' key up,
               // 'm' minimised, 'x' maximised
    QVUIItem* item;
    int a, b, c;
};

class RecordingListener : public QVUIListener
{
public:
    std::vector<Event> events;
    void OnCommand(QVUIItem* control) override { events.push_back({'C', control, 0, 0, 0}); }
    void OnSize(QVUIItem* item, int width, int height) override
    {
        events.push_back({'S', item, width, height, 0});
    }
    void OnMouseMove(QVUIItem* item, unsigned short flags, int x, int y, int reserved) override
    {
        events.push_back({'M', item, flags, x, y});
        EXPECT_EQ(0, reserved);
    }
    void OnMinimize(QVUIItem* item) override { events.push_back({'m', item, 0, 0, 0}); }
    void OnMaximize(QVUIItem* item) override { events.push_back({'x', item, 0, 0, 0}); }
    void OnKeyDown(QVUIItem* item, unsigned short flags, int key) override
    {
        events.push_back({'D', item, flags, key, 0});
    }
    void OnKeyUp(QVUIItem* item, unsigned short flags, int key) override
    {
        events.push_back({'U', item, flags, key, 0});
    }
    const Event* Find(int type) const
    {
        for (const Event& event : events)
            if (event.type == type)
                return &event;
        return nullptr;
    }
};

class UIManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!UITestDriver::HasDisplay())
            GTEST_SKIP() << "no display";
        manager = UITestDriver::CreateManager();
    }

    void TearDown() override
    {
        // Windows go before the items they point to, children first; listeners (locals of the
        // test body, gone by now) are dropped first so that the destruction reaches none.
        for (auto& item : items)
            item->SetListener(nullptr);
        for (QVUIItem* item : created)
        {
            if (item->GetWindow() != nullptr && !item->IsClosed())
                UITestDriver::DestroyManagedWindow(item->GetWindow());
        }
        if (manager != nullptr)
            UITestDriver::ReleaseManager(manager);
        UITestDriver::DrainQueue();
    }

    // A new item owned by the test, so that it outlives the test body until TearDown.
    template <class Item>
    Item& Make()
    {
        items.push_back(std::make_unique<Item>());
        return static_cast<Item&>(*items.back());
    }

    // A top-level window of 200 x 100 at (30, 40), created and shown.
    void MakeWindow(QVUIItem& item)
    {
        item.SetManager(manager);
        item.SetCaption("test");
        item.SetX(30);
        item.SetY(40);
        item.SetWidth(200);
        item.SetHeight(100);
        ASSERT_TRUE(item.Create());
        created.insert(created.begin(), &item);
    }

    void MakeChild(QVUIItem& child, QVUIItem& parent, int x, int y, int width, int height)
    {
        QVUIItem::SetParent(child, parent);
        child.SetX(x);
        child.SetY(y);
        child.SetWidth(width);
        child.SetHeight(height);
        ASSERT_TRUE(child.Create());
        created.insert(created.begin(), &child);
    }

    // Runs the loop without waiting until done() holds or the time is up (a bound against a
    // hang, generous for a loaded machine: a pass returns as soon as done() holds). Returns
    // done().
    bool PumpUntil(QVUIItem& item, const std::function<bool()>& done,
                   std::chrono::seconds limit = std::chrono::seconds(10))
    {
        auto end = std::chrono::steady_clock::now() + limit;
        while (!done() && std::chrono::steady_clock::now() < end)
            manager->ProcessMessages(&item, false);
        return done();
    }

    // Runs the loop without waiting for two seconds, for whatever the window system sends.
    void RunLoopTwoSeconds(QVUIItem& item)
    {
        PumpUntil(
            item, [] { return false; }, std::chrono::seconds(2));
    }

    // Calls ProcessMessages without waiting until it returns false, for at most two seconds.
    // Returns whether it did.
    bool LoopEnds(QVUIItem& item)
    {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (std::chrono::steady_clock::now() < end)
            if (!manager->ProcessMessages(&item, false))
                return true;
        return false;
    }

    QVUIManager* manager = nullptr;
    std::vector<std::unique_ptr<QVUIItem>> items;
    std::vector<QVUIItem*> created;  // items with windows, children before their parents
};

TEST_F(UIManagerTest, KindsOneToFourMakeTaggedVisibleWindows)
{
    QVUIWindow& window = Make<QVUIWindow>();
    QVUILabel& label = Make<QVUILabel>();
    QVUIButton& button = Make<QVUIButton>();
    QVUIHandLabel& hand = Make<QVUIHandLabel>();
    MakeWindow(window);
    MakeChild(label, window, 0, 0, 100, 20);
    MakeChild(button, window, 0, 30, 100, 30);
    MakeChild(hand, window, 0, 70, 100, 20);
    for (QVUIItem* item : created)
    {
        EXPECT_NE(nullptr, item->GetWindow());
        EXPECT_TRUE(item->IsVisible());
        EXPECT_NE(0u, item->GetPreviousProcedure()) << item->GetKind();
    }
    EXPECT_NE(window.GetWindow(), button.GetWindow());
}

TEST_F(UIManagerTest, StaticKindIsNeverAttached)
{
    QVUIWindow& window = Make<QVUIWindow>();
    MakeWindow(window);
    QVUIStatic& item = Make<QVUIStatic>();
    QVUIItem::SetParent(item, window);
    item.SetWidth(10);
    item.SetHeight(10);
    EXPECT_FALSE(item.Create());
    EXPECT_EQ(nullptr, item.GetWindow());
}

TEST_F(UIManagerTest, KindsOutsideTheKnownOnesAreRefused)
{
    for (int kind : {5, 6, 100, -1, 32767})
    {
        QVUIItem item(static_cast<QVUIKind>(kind));
        item.SetManager(manager);
        item.SetWidth(10);
        item.SetHeight(10);
        EXPECT_FALSE(item.Create()) << kind;
        EXPECT_EQ(nullptr, item.GetWindow()) << kind;
    }
}

TEST_F(UIManagerTest, NonWaitingLoopReturnsTrueWhenNothingIsQueued)
{
    QVUIWindow& window = Make<QVUIWindow>();
    MakeWindow(window);
    // Take whatever the new window caused, then ask once more with the queue empty.
    for (int i = 0; i < 1000; ++i)
        EXPECT_TRUE(manager->ProcessMessages(&window, false));
    EXPECT_TRUE(manager->ProcessMessages(&window, false));
    EXPECT_FALSE(window.IsClosed());
}

TEST_F(UIManagerTest, PostQuitEndsTheLoopOnce)
{
    QVUIWindow& window = Make<QVUIWindow>();
    MakeWindow(window);
    EXPECT_NE(0, manager->PostQuit(&window));
    EXPECT_TRUE(LoopEnds(window));
    // The quit message was taken: the loop goes on afterwards.
    EXPECT_TRUE(manager->ProcessMessages(&window, false));
}

TEST_F(UIManagerTest, PostQuitReachesAWaitingLoop)
{
    QVUIWindow& window = Make<QVUIWindow>();
    MakeWindow(window);
    manager->PostQuit(&window);
    bool ended = false;
    for (int i = 0; i < 1000 && !ended; ++i)
        ended = !manager->ProcessMessages(&window, true);
    EXPECT_TRUE(ended);
}

TEST_F(UIManagerTest, ClosingTheWindowSetsTheClosedByteForGood)
{
    QVUIWindow& window = Make<QVUIWindow>();
    RecordingListener listener;
    MakeWindow(window);
    window.SetListener(&listener);
    UITestDriver::CloseFromWindowManager(window.GetWindow());
    EXPECT_TRUE(LoopEnds(window));
    EXPECT_TRUE(window.IsClosed());
    EXPECT_FALSE(manager->ProcessMessages(&window, false));
    EXPECT_FALSE(manager->ProcessMessages(&window, true));  // closed: does not wait
}

TEST_F(UIManagerTest, KeysArriveAsVirtualKeyCodes)
{
    QVUIWindow& window = Make<QVUIWindow>();
    RecordingListener listener;
    MakeWindow(window);
    window.SetListener(&listener);
    const int keys[] = {'Q', 'Z', '5', 0x1B, 0x0D, 0x20, 0x25, 0x28, 0x70};
    for (int key : keys)
    {
        UITestDriver::Key(window.GetWindow(), key, true);
        UITestDriver::Key(window.GetWindow(), key, false);
    }
    size_t expected = 2 * (sizeof(keys) / sizeof(keys[0]));
    ASSERT_TRUE(PumpUntil(window, [&] { return listener.events.size() >= expected; }));
    for (size_t i = 0; i < expected; ++i)
    {
        const Event& event = listener.events[i];
        EXPECT_EQ(i % 2 == 0 ? 'D' : 'U', event.type) << i;
        EXPECT_EQ(&window, event.item);
        EXPECT_EQ(0, event.a);
        EXPECT_EQ(keys[i / 2], event.b) << i;
    }
}

TEST_F(UIManagerTest, MouseMovesCarryPositionAndFlags)
{
    QVUIWindow& window = Make<QVUIWindow>();
    RecordingListener listener;
    MakeWindow(window);
    window.SetListener(&listener);
    UITestDriver::MouseMove(window.GetWindow(), 12, 34, QV_MOUSE_SHIFT | QV_MOUSE_LEFT);
    UITestDriver::MouseMove(window.GetWindow(), 150, 60,
                            QV_MOUSE_CONTROL | QV_MOUSE_MIDDLE | QV_MOUSE_RIGHT);
    UITestDriver::MouseMove(window.GetWindow(), 0, 0, 0);
    auto moves = [&]
    {
        std::vector<Event> found;
        for (const Event& event : listener.events)
            if (event.type == 'M')
                found.push_back(event);
        return found;
    };
    ASSERT_TRUE(PumpUntil(window, [&] { return moves().size() >= 3; }));
    std::vector<Event> seen = moves();
    EXPECT_EQ(1 + 8, seen[0].a);
    EXPECT_EQ(12, seen[0].b);
    EXPECT_EQ(34, seen[0].c);
    EXPECT_EQ(4 + 16 + 32, seen[1].a);
    EXPECT_EQ(150, seen[1].b);
    EXPECT_EQ(60, seen[1].c);
    EXPECT_EQ(0, seen[2].a);
    EXPECT_EQ(&window, seen[2].item);
}

TEST_F(UIManagerTest, ResizingAChildReportsTheNewClientSize)
{
    QVUIWindow& window = Make<QVUIWindow>();
    QVUIWindow& child = Make<QVUIWindow>();
    MakeWindow(window);
    MakeChild(child, window, 10, 10, 50, 40);
    RecordingListener listener;
    child.SetListener(&listener);
    UITestDriver::ResizeChild(child.GetWindow(), 120, 80);
    ASSERT_TRUE(PumpUntil(window, [&] { return listener.Find('S') != nullptr; }));
    const Event* size = listener.Find('S');
    EXPECT_EQ(&child, size->item);
    EXPECT_EQ(120, size->a);
    EXPECT_EQ(80, size->b);
}

TEST_F(UIManagerTest, MinimisingReportsAnEmptySizeThenTheState)
{
    QVUIWindow& window = Make<QVUIWindow>();
    RecordingListener listener;
    MakeWindow(window);
    RunLoopTwoSeconds(window);  // let the window manager settle
    window.SetListener(&listener);
    UITestDriver::Minimize(window.GetWindow());
    ASSERT_TRUE(PumpUntil(window, [&] { return listener.Find('m') != nullptr; }));
    const Event* minimised = listener.Find('m');
    ASSERT_GT(minimised, &listener.events[0]);
    const Event& size = *(minimised - 1);
    EXPECT_EQ('S', size.type);
    EXPECT_EQ(0, size.a);
    EXPECT_EQ(0, size.b);
    EXPECT_EQ(&window, minimised->item);
}

TEST_F(UIManagerTest, MaximisingReportsTheSizeThenTheState)
{
    QVUIWindow& window = Make<QVUIWindow>();
    RecordingListener listener;
    MakeWindow(window);
    RunLoopTwoSeconds(window);
    window.SetListener(&listener);
    UITestDriver::Maximize(window.GetWindow());
    ASSERT_TRUE(PumpUntil(window, [&] { return listener.Find('x') != nullptr; }));
    const Event* maximised = listener.Find('x');
    ASSERT_GT(maximised, &listener.events[0]);
    const Event& size = *(maximised - 1);
    EXPECT_EQ('S', size.type);
    EXPECT_GT(size.a, 0);
    EXPECT_GT(size.b, 0);
    EXPECT_EQ(nullptr, listener.Find('m'));
}

// A window that comes back from minimised reports its real size again (a host that sized its
// drawing to the 0 x 0 of minimising would otherwise draw nothing), and its maximised state when
// it was maximised before.
TEST_F(UIManagerTest, RestoringAMinimisedWindowReportsItsSizeAgain)
{
    for (bool maximisedBefore : {false, true})
    {
        SCOPED_TRACE(maximisedBefore ? "maximised before" : "normal before");
        QVUIWindow& window = Make<QVUIWindow>();
        RecordingListener listener;
        MakeWindow(window);
        RunLoopTwoSeconds(window);  // let the window manager settle
        window.SetListener(&listener);
        if (maximisedBefore)
        {
            UITestDriver::Maximize(window.GetWindow());
            ASSERT_TRUE(PumpUntil(window, [&] { return listener.Find('x') != nullptr; }));
        }
        UITestDriver::Minimize(window.GetWindow());
        ASSERT_TRUE(PumpUntil(window, [&] { return listener.Find('m') != nullptr; }));
        // Wine may tell a minimise twice (its own state, then the window manager's): both are
        // in before the restore.
        RunLoopTwoSeconds(window);
        listener.events.clear();

        UITestDriver::Restore(window.GetWindow());
        bool sized = PumpUntil(window, [&] { return listener.Find('S') != nullptr; });
        RunLoopTwoSeconds(window);  // whatever else the restore brings
        ASSERT_TRUE(sized) << "no size reported on restore";
        int width = 0, height = 0;
        UITestDriver::ClientSize(window.GetWindow(), width, height);
        // The last size reported is the one the window has now.
        const Event* size = nullptr;
        for (const Event& event : listener.events)
            if (event.type == 'S')
                size = &event;
        EXPECT_EQ(&window, size->item);
        EXPECT_GT(size->a, 0);
        EXPECT_EQ(width, size->a);
        EXPECT_EQ(height, size->b);
        EXPECT_EQ(nullptr, listener.Find('m'));
        EXPECT_EQ(maximisedBefore, listener.Find('x') != nullptr);
    }
}

TEST_F(UIManagerTest, ItemAsItsOwnListenerStoresItsSize)
{
    QVUIWindow& window = Make<QVUIWindow>();
    QVUIWindow& child = Make<QVUIWindow>();
    MakeWindow(window);
    MakeChild(child, window, 10, 10, 50, 40);
    UITestDriver::ResizeChild(child.GetWindow(), 70, 30);
    EXPECT_TRUE(PumpUntil(window, [&] { return child.GetWidth() == 70; }));
    EXPECT_EQ(30, child.GetHeight());
}

TEST_F(UIManagerTest, ButtonClickReachesTheParentsListenerWithTheButton)
{
    QVUIWindow& window = Make<QVUIWindow>();
    QVUIButton& button = Make<QVUIButton>();
    RecordingListener listener;
    RecordingListener buttonListener;
    MakeWindow(window);
    MakeChild(button, window, 0, 30, 100, 30);
    window.SetListener(&listener);
    button.SetListener(&buttonListener);
    UITestDriver::Click(button.GetWindow());
    ASSERT_TRUE(PumpUntil(window, [&] { return listener.Find('C') != nullptr; }));
    EXPECT_EQ(&button, listener.Find('C')->item);
    EXPECT_EQ(nullptr, buttonListener.Find('C'));
}

TEST_F(UIManagerTest, EventsOfOtherWindowsStayQueued)
{
    QVUIWindow& first = Make<QVUIWindow>();
    QVUIWindow& second = Make<QVUIWindow>();
    RecordingListener firstListener;
    RecordingListener secondListener;
    MakeWindow(first);
    MakeWindow(second);
    first.SetListener(&firstListener);
    second.SetListener(&secondListener);
    UITestDriver::Key(second.GetWindow(), 'A', true);
    RunLoopTwoSeconds(first);  // two seconds of the first window's loop
    EXPECT_EQ(nullptr, secondListener.Find('D'));
    EXPECT_TRUE(PumpUntil(second, [&] { return secondListener.Find('D') != nullptr; }));
    EXPECT_EQ(nullptr, firstListener.Find('D'));
}

TEST_F(UIManagerTest, WindowTextRoundTripsInBothWidths)
{
    QVUIWindow& window = Make<QVUIWindow>();
    QVUILabel& label = Make<QVUILabel>();
    MakeWindow(window);
    MakeChild(label, window, 0, 0, 100, 20);
    for (QVUIItem* item : {static_cast<QVUIItem*>(&window), static_cast<QVUIItem*>(&label)})
    {
        // 16-bit text beyond Latin-1, which an 8-bit call would mangle.
        static const unsigned short wide[] = {'G', 0x00FC, 0x00DF, 0x0435, 0x263A, 0};
        item->SetCaption(wide);
        static const unsigned short empty[] = {0};
        QVString& caption = item->GetCaption();
        caption.Assign(empty);
        manager->ReadText(item);
        ASSERT_EQ(5, caption.GetLength());
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(wide[i], caption.GetCharAt(i)) << i;

        item->SetCaption("Plain text");
        caption.Assign("");
        manager->ReadText(item);
        EXPECT_STREQ("Plain text", caption.GetBuffer());

        item->SetCaption("");
        caption.Assign("stale");
        manager->ReadText(item);
        EXPECT_EQ(0, caption.GetLength());
    }
}

TEST_F(UIManagerTest, HiddenWindowReadsAsInvisible)
{
    QVUIWindow& window = Make<QVUIWindow>();
    QVUILabel& label = Make<QVUILabel>();
    MakeWindow(window);
    MakeChild(label, window, 0, 0, 100, 20);
    label.SetVisible(false);
    label.StoreVisible(true);
    manager->ReadVisibility(&label);
    EXPECT_FALSE(label.IsVisible());
}

TEST_F(UIManagerTest, OperationsWithoutWindowDoNothing)
{
    QVUIWindow& item = Make<QVUIWindow>();
    item.SetManager(manager);
    item.SetCaption("kept");
    manager->ApplyVisibility(&item);
    manager->ReadText(&item);
    manager->ReadVisibility(&item);
    EXPECT_STREQ("kept", item.GetCaption().GetBuffer());
    EXPECT_TRUE(item.IsVisible());
    EXPECT_EQ(0, manager->AttachWindow(&item));
    EXPECT_EQ(0, manager->Invalidate(&item));
    EXPECT_EQ(0, manager->SetCursorPosition(&item, 1, 1));
    // Nothing to take messages for: a host's loop must end rather than spin (or block).
    EXPECT_FALSE(manager->ProcessMessages(&item, false));
    EXPECT_FALSE(manager->ProcessMessages(&item, true));
}

TEST_F(UIManagerTest, AttachedWindowKeepsItsOwnHandling)
{
    QVHandle foreign = UITestDriver::CreateForeignWindow();
    QVUIWindow& item = Make<QVUIWindow>();
    RecordingListener listener;
    item.SetManager(manager);
    item.SetListener(&listener);
    item.StoreWindow(foreign);
    EXPECT_EQ(1, manager->AttachWindow(&item));
    UITestDriver::Key(foreign, 'K', true);
    ASSERT_TRUE(PumpUntil(item, [&] { return listener.Find('D') != nullptr; }));
    EXPECT_EQ('K', listener.Find('D')->b);
    EXPECT_EQ(&item, listener.Find('D')->item);
    EXPECT_EQ(1, UITestDriver::ForeignKeyPresses(foreign));
    EXPECT_NE(0, manager->Invalidate(&item));

    item.SetListener(nullptr);
    UITestDriver::DestroyForeignWindow(foreign);
}

}  // namespace
