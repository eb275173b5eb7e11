#pragma once

#include "ui/QVUIItem.h"

// UI item of kind QV_UI_HAND_LABEL: label meant to show a hand cursor.
class QVUIHandLabel : public QVUIItem
{
public:
    QVUIHandLabel() : QVUIItem(QV_UI_HAND_LABEL) {}
};
