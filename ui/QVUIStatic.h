#pragma once

#include "ui/QVUIItem.h"

// UI item of kind QV_UI_STATIC: plain child window of the manager's own class.
class QVUIStatic : public QVUIItem
{
public:
    QVUIStatic() : QVUIItem(QV_UI_STATIC) {}
};
