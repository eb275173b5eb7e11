#pragma once

#include "core/object/QVObject.h"
#include "core/string/QVString.h"
#include "platform/QVHandle.h"
#include "ui/QVUIListener.h"

#include <cstdint>

class QVUIManager;

// What window a UI item stands for.
enum QVUIKind : std::int16_t
{
    QV_UI_STATIC = 0,      // plain child window of the manager's own class (never attached)
    QV_UI_WINDOW = 1,      // top-level window, or a child window when the item has a parent
    QV_UI_LABEL = 2,       // child window showing its caption
    QV_UI_BUTTON = 3,      // push button; a click reaches the parent's listener as OnCommand
    QV_UI_HAND_LABEL = 4,  // label meant to show a hand cursor
};

// One user-interface element. The host allocates and owns it; the UI manager creates the window
// for it, stores the window handle in it and routes the window's events to its listener.
//
// The field order is a contract between the host and the UI manager module, which reads and
// writes the fields through the inline accessors below: do not reorder. The manager keeps the
// window's previous event procedure in the object's reserved words (see SetPreviousProcedure).
class QVUIItem : public QVObject, public QVUIListener
{
public:
    // An item of the given kind with the defaults: no parent, manager or window, empty 8-bit
    // caption, colour 0, position and size 0, visible, cursor shown, listening to itself.
    explicit QVUIItem(QVUIKind itemKind = QV_UI_STATIC);
    ~QVUIItem();
    QVUIItem(const QVUIItem&) = delete;
    QVUIItem& operator=(const QVUIItem&) = delete;

    // Creates the item's window through its manager, taking the process-wide UI manager when the
    // item has none. Returns false without a manager or when the manager fails.
    virtual bool Create();
    // Has the manager forget the item's window procedure; the window itself stays.
    virtual void Destroy();

    // The item stores its new client size; the other listener operations do nothing.
    void OnSize(QVUIItem* item, int width, int height) override;

    // Makes child a child of parent. The manager and the owner pointer are shared: the child
    // takes the parent's when the parent has one, otherwise the parent takes the child's.
    static void SetParent(QVUIItem& child, QVUIItem& parent);

    // Setters that write the field and then apply it through the manager, when there is one.
    void SetCaption(const QVString& text);
    void SetCaption(const char* text);
    void SetCaption(const unsigned short* text);
    void SetBackgroundColour(std::uint32_t colour);  // 0x00BBGGRR
    void SetX(int value);
    void SetY(int value);
    void SetWidth(int value);
    void SetHeight(int value);
    void SetVisible(bool value);
    void SetCursorShown(bool value);

    // Plain field access (no manager call).
    QVUIKind GetKind() const { return kind; }
    QVUIItem* GetParent() const { return parent; }
    QVUIManager* GetManager() const { return manager; }
    void SetManager(QVUIManager* value) { manager = value; }
    QVString& GetCaption() { return caption; }
    std::uint32_t GetBackgroundColour() const { return backgroundColour; }
    int GetX() const { return x; }
    int GetY() const { return y; }
    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    bool IsVisible() const { return visible != 0; }
    bool IsCursorShown() const { return cursorShown != 0; }
    QVHandle GetWindow() const { return window; }
    void* GetOwner() const { return owner; }
    void SetOwner(void* value) { owner = value; }
    QVUIListener* GetListener() const { return listener; }
    void SetListener(QVUIListener* value) { listener = value; }
    bool IsClosed() const { return closed != 0; }

    // Written by the UI manager.
    void StoreWindow(QVHandle value) { window = value; }
    void StoreVisible(bool value) { visible = value ? 1 : 0; }
    void StoreClosed(bool value) { closed = value ? 1 : 0; }
    void StoreSize(int newWidth, int newHeight)
    {
        width = newWidth;
        height = newHeight;
    }

    // The window procedure the manager chains to, kept in the object's reserved words: the low 32
    // bits in the first, and on 64-bit builds the high 32 bits in the second (a 64-bit procedure
    // address does not fit in one word, and a truncated one would crash when called).
    void SetPreviousProcedure(std::uintptr_t procedure)
    {
        m_reserved0 = static_cast<std::int32_t>(static_cast<std::uint32_t>(procedure));
        if (sizeof(std::uintptr_t) > 4)
            m_reserved1 = static_cast<std::int32_t>(static_cast<std::uint64_t>(procedure) >> 32);
    }
    std::uintptr_t GetPreviousProcedure() const
    {
        std::uint64_t value = static_cast<std::uint32_t>(m_reserved0);
        if (sizeof(std::uintptr_t) > 4)
            value |= static_cast<std::uint64_t>(static_cast<std::uint32_t>(m_reserved1)) << 32;
        return static_cast<std::uintptr_t>(value);
    }

private:
    QVUIKind kind;
    QVUIItem* parent;
    QVUIManager* manager;
    QVString caption;
    std::uint32_t backgroundColour;
    int x;
    int y;
    int width;
    int height;
    std::uint8_t visible;
    std::uint8_t cursorShown;
    QVHandle window;
    void* owner;
    QVUIListener* listener;
    std::uint8_t closed;
};
