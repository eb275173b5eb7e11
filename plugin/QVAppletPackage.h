#pragma once

#include "core/string/QVString.h"
#include "loaders/QVProperties.h"
#include "plugin/QVApplet.h"
#include "plugin/package/PackageExtractor.h"

#include <cstdint>

// Starting an applet from its package file: unpacking it next to itself, reading its
// configuration "qveapp.cfg" and loading the applet module that the configuration names. The
// browser plug-in does this for every embedded applet; tools and tests do the same.
//
// The package directory D is the package path cut before its last separator ('\' or '/' on
// Windows, '/' on Linux; searched from the second-to-last character down to the second). The
// process's working directory becomes D, and D (without a trailing separator) is the value of
// "@temp_path" in the applet parameters.
//
// The configuration key naming the applet module: "main_w32" on Windows. On Linux "main_linux"
// is read first and "main_w32" only when it is absent, so that one package can carry both
// builds of an applet. On the web "main_web" comes first, then "main_linux" and "main_w32": the
// named module is compiled into the applet's bundle, and the package holds a file of that name
// standing for it.
//
// The configuration is read through the "Properties Loader" modules gathered when the package
// object is made, in the host's working directory: module libraries that a package brings are
// never scanned, only the one its configuration names is loaded.
class QVAppletPackage
{
public:
    QVAppletPackage() : m_configuration(0) {}

    // Limit of the bytes one package may unpack (1 GiB unless set).
    void SetByteLimit(std::uint64_t bytes) { m_extractor.SetByteLimit(bytes); }

    // Finds D, changes the working directory to it, sets "@temp_path" to D in parameters and
    // unpacks the package below D. False, nothing done, when the path has no directory part or
    // D cannot be entered.
    bool Unpack(const QVString& packagePath, QVProperties& parameters);

    // Reads "qveapp.cfg" of D (through the "Properties Loader" modules), sets "@temp_path" to D
    // in parameters again and loads the module the configuration names, relative to D and
    // confined to it like the package's entries (a name such as "../x.qvm" means D's x.qvm). Returns
    // the applet, or null when the configuration, its key or the library is missing, the library
    // does not load or its module is no applet: the start stops there. Call after Unpack.
    QVApplet* LoadApplet(QVProperties& parameters);

    // D, as found by the last Unpack.
    const QVString& GetDirectory() const { return m_directory; }
    // What the last Unpack did.
    const QVUnpackReport& GetReport() const { return m_report; }
    // The module file name the configuration named (empty when none), as the last LoadApplet
    // read it.
    const QVString& GetModuleName() const { return m_moduleName; }

private:
    QVPackageExtractor m_extractor;
    QVProperties m_configuration;
    QVString m_directory;
    QVString m_moduleName;
    QVUnpackReport m_report;
};
