#pragma once

// Libraries compiled into the program, for the target that cannot load code at run time: the web,
// where a blocking applet loop works only when all of its code is in one program. Each module
// library registers itself here before main (modules/ModuleExport.h), and the platform's library
// functions (DynLibrary.h, FileSearch.h) find it by file name as they would find a library file.
// Other targets do not use this table.

// An exported symbol of a compiled-in library.
struct QVCompiledSymbol
{
    const char* name;
    void* address;  // null: the library does not have it
};

// A library compiled into the program. Lives in static storage for the life of the program.
struct QVCompiledLibrary
{
    const char* fileName;             // the library's file name, e.g. "qvoglrenderer.qvm"
    const char* folder;               // where it lies, seen from the program's directory ("" there)
    const QVCompiledSymbol* symbols;  // ends with an entry whose name is null
    QVCompiledLibrary* next;          // set on registration
};

// Adds library to the program's table, after those registered before it. Modules register from
// static constructors; a lookup during static initialisation (the allocation hook's load of the
// memory module) sees those registered before it, which the link order makes every module:
// qv_link_modules puts the modules' objects ahead of the program's own and of the libraries.
void QVRegisterCompiledLibrary(QVCompiledLibrary* library);

// The first library of the table (null when there is none); the others follow through next.
const QVCompiledLibrary* QVFirstCompiledLibrary();
