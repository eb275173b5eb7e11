#include "ui/QVUIManager.h"

namespace
{
// Constant-initialised: null before any static constructor runs.
QVUIManager* processManager = nullptr;
}  // namespace

QVUIManager::QVUIManager() = default;
QVUIManager::~QVUIManager() = default;

void QVUIManager::DestroyItem(QVUIItem* item)
{
    // Later events of the window chain to the default handling.
    item->SetPreviousProcedure(0);
}

void QVUIManager::PrepareItem(QVUIItem*) {}
void QVUIManager::ApplyColour(QVUIItem*) {}
void QVUIManager::ReservedHookA(QVUIItem*) {}
void QVUIManager::ReservedHookB(QVUIItem*) {}
void QVUIManager::SyncItem(QVUIItem*) {}
void QVUIManager::ApplyGeometry(QVUIItem*) {}
void QVUIManager::ReservedHookC(QVUIItem*) {}
void QVUIManager::ReservedHookD(void*) {}

void QVUIManager::ShowText(QVString& text)
{
    QVString empty("");
    ShowMessage(text, empty);
}

QVUIManager* GetUIManager() { return processManager; }

void SetUIManager(QVUIManager* manager) { processManager = manager; }

// The build names the platform's module.
const char* GetUIManagerFileName() { return QV_UI_MANAGER_FILE; }
