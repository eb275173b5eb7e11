#include "modules/QVModule.h"

QVModule::QVModule()
    : QVObject(0), libraryHandle(nullptr), fileName(16, 0), name(16, 0), type(16, 0),
      subtype(16, 0), reservedFirst(16, 0), platform(16, 0), reservedSecond(16, 0)
{
}

QVModule::~QVModule()
{
    // The base version, whatever a subclass made of it: subclasses ran their own already.
    QVModule::Shutdown();
}

void QVModule::Shutdown() {}
