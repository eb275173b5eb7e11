#pragma once

#include "ui/QVUIItem.h"

// UI item of kind QV_UI_BUTTON: push button; its clicks reach the listener of the window that contains it.
class QVUIButton : public QVUIItem
{
public:
    QVUIButton() : QVUIItem(QV_UI_BUTTON) {}
};
