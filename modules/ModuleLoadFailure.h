#pragma once

// Whom to tell when a module asked for by its file name (QVModManager::LoadModule) cannot be
// loaded. The web player shows it on the page: there an applet's module that was not compiled
// into its bundle would otherwise fail without a word. One handler per library; none (null, the
// default) tells nobody. Scans by type, which try every file they meet, tell nobody either.
using QVModuleLoadFailureHandler = void (*)(const char* fileName);

// Installs handler (null removes it).
void SetModuleLoadFailureHandler(QVModuleLoadFailureHandler handler);

// Tells the handler, if there is one.
void ReportModuleLoadFailure(const char* fileName);
