#pragma once

#include "ui/QVUIItem.h"

// UI item of kind QV_UI_LABEL: child window that shows its caption.
class QVUILabel : public QVUIItem
{
public:
    QVUILabel() : QVUIItem(QV_UI_LABEL) {}
};
