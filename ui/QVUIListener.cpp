#include "ui/QVUIListener.h"

void QVUIListener::OnCommand(QVUIItem*) {}
void QVUIListener::OnSize(QVUIItem*, int, int) {}
void QVUIListener::OnMaximize(QVUIItem*) {}
void QVUIListener::OnMinimize(QVUIItem*) {}
void QVUIListener::OnMouseMove(QVUIItem*, unsigned short, int, int, int) {}
void QVUIListener::OnKeyDown(QVUIItem*, unsigned short, int) {}
void QVUIListener::OnKeyUp(QVUIItem*, unsigned short, int) {}
