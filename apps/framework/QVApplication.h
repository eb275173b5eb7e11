#pragma once

#include "core/containers/QVArray.h"
#include "core/object/QVObject.h"
#include "core/string/QVString.h"
#include "platform/QVHandle.h"

// Base of every program's application object. A program defines one subclass and one global
// instance of it; the first application constructed becomes the process-wide application, which
// the framework main runs.
class QVApplication : public QVObject
{
public:
    QVApplication();
    virtual ~QVApplication();

    // Reserved hook with two arguments; the framework never calls it. Returns -1.
    virtual int Hook(int first, int second);
    // Program body taking the command line split into words. Returns the exit code (-1 here).
    virtual int RunArgs(QVArray<QVString>& words);
    // Program body without arguments. A negative result asks for RunArgs instead (-1 here).
    virtual int Run();

    QVHandle GetInstance() const { return instance; }
    void SetInstance(QVHandle handle) { instance = handle; }

private:
    QVHandle instance;
};

// The process-wide application: the first application object constructed, or null.
QVApplication* QVGetApplication();
