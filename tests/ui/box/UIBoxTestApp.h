#pragma once

#include "apps/framework/QVApplication.h"

// Test program for the UI manager's message boxes: shows one box of the kind named by the first
// word of the command line ("yesno", "yesnocancel", "ok"), with the text "Box text" and the
// caption "test box", and exits with the answer: AskYesNo 1 or 0, AskYesNoCancel 1, 0 or 2,
// ShowMessage its result. Exits with 100 without a UI manager, 101 for an unknown kind.
class UIBoxTestApp : public QVApplication
{
public:
    int RunArgs(QVArray<QVString>& words) override;
};
