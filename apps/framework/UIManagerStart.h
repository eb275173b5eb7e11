#pragma once

class QVUIManager;

// Loads the platform's UI manager module (GetUIManagerFileName) for a program that has no other
// place to say why it cannot start: a module that cannot be loaded, or one of another type, is
// reported on standard error under the program's name (StartFailure.h) and null is returned.
// The caller decides whether the manager becomes the process's one (SetUIManager).
QVUIManager* LoadUIManagerOrReport(const char* program);
