#pragma once

#include "ui/QVUIItem.h"

// UI item of kind QV_UI_WINDOW: top-level window (or a child window when given a parent).
class QVUIWindow : public QVUIItem
{
public:
    QVUIWindow() : QVUIItem(QV_UI_WINDOW) {}
};
