#include "ui/QVUIItem.h"

#include "ui/QVUIManager.h"

QVUIItem::QVUIItem(QVUIKind itemKind)
    : QVObject(QV_CLASS_DEFAULT), kind(itemKind), parent(nullptr), manager(nullptr), caption(),
      backgroundColour(0), x(0), y(0), width(0), height(0), visible(1), cursorShown(1),
      window(nullptr), owner(nullptr), listener(this), closed(0)
{
}

QVUIItem::~QVUIItem() = default;

bool QVUIItem::Create()
{
    if (manager == nullptr)
        manager = GetUIManager();
    if (manager == nullptr)
        return false;
    return manager->CreateItem(this);
}

void QVUIItem::Destroy()
{
    if (manager != nullptr)
        manager->DestroyItem(this);
}

void QVUIItem::OnSize(QVUIItem*, int newWidth, int newHeight)
{
    width = newWidth;
    height = newHeight;
}

void QVUIItem::SetParent(QVUIItem& child, QVUIItem& parent)
{
    child.parent = &parent;
    if (parent.manager != nullptr)
        child.manager = parent.manager;
    else
        parent.manager = child.manager;
    if (parent.owner != nullptr)
        child.owner = parent.owner;
    else
        parent.owner = child.owner;
}

void QVUIItem::SetCaption(const QVString& text)
{
    caption.Assign(text);
    if (manager != nullptr)
        manager->ApplyText(this);
}

void QVUIItem::SetCaption(const char* text)
{
    caption.Assign(text);
    if (manager != nullptr)
        manager->ApplyText(this);
}

void QVUIItem::SetCaption(const unsigned short* text)
{
    caption.Assign(text);
    if (manager != nullptr)
        manager->ApplyText(this);
}

void QVUIItem::SetBackgroundColour(std::uint32_t colour)
{
    backgroundColour = colour;
    if (manager != nullptr)
        manager->ApplyColour(this);
}

void QVUIItem::SetX(int value)
{
    x = value;
    if (manager != nullptr)
        manager->ApplyGeometry(this);
}

void QVUIItem::SetY(int value)
{
    y = value;
    if (manager != nullptr)
        manager->ApplyGeometry(this);
}

void QVUIItem::SetWidth(int value)
{
    width = value;
    if (manager != nullptr)
        manager->ApplyGeometry(this);
}

void QVUIItem::SetHeight(int value)
{
    height = value;
    if (manager != nullptr)
        manager->ApplyGeometry(this);
}

void QVUIItem::SetVisible(bool value)
{
    visible = value ? 1 : 0;
    if (manager != nullptr)
        manager->ApplyVisibility(this);
}

void QVUIItem::SetCursorShown(bool value)
{
    cursorShown = value ? 1 : 0;
    if (manager != nullptr)
        manager->ApplyVisibility(this);
}
