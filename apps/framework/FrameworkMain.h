#pragma once

#include "platform/QVHandle.h"

// Runs the process-wide application: stores the instance handle in it, calls its Run, and when
// Run returns a negative value splits the command line into words at every blank and calls
// RunArgs with them. Returns the exit code; -1 when the program defines no application object.
int QVFrameworkMain(QVHandle instance, const char* commandLine);
