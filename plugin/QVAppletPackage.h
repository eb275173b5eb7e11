#pragma once

#include "core/string/QVString.h"
#include "loaders/QVProperties.h"
#include "plugin/QVApplet.h"
#include "plugin/package/QVPackageExtractor.h"

#include <cstdint>
#include <string>

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
// object is made, by a scan of the places the host started from (a host that moves into package
// folders keeps its scans out of them, see SetStartDirectory in modules/RunTimePath.h): module
// libraries that a package brings are never scanned, only the one its configuration names is
// loaded.
//
// A configuration larger than 1 MiB is refused (no applet): it is a few lines in every package,
// and reading a huge one would cost memory out of proportion to the package.
class QVAppletPackage
{
public:
    static constexpr std::uint64_t ConfigurationLimit = std::uint64_t(1) << 20;

    QVAppletPackage() : m_configuration(0) {}

    // Limit of what one package may unpack (1 GiB unless set; see QVPackageExtractor.h).
    void SetByteLimit(std::uint64_t bytes) { m_extractor.SetByteLimit(bytes); }

    // Finds D, changes the working directory to it, sets "@temp_path" to D in parameters and
    // unpacks the package below D. False, nothing done, when the path has no directory part or
    // D cannot be entered.
    bool Unpack(const QVString& packagePath, QVProperties& parameters);

    // Reads "qveapp.cfg" of D (through the "Properties Loader" modules), sets "@temp_path" to D
    // in parameters again and loads the module the configuration names, relative to D and
    // confined to it like the package's entries (a name such as "../x.qvm" means D's x.qvm). Returns
    // the applet, or null when the configuration is missing or larger than 1 MiB, its key or the
    // library is missing, the library does not load or its module is no applet: the start stops
    // there, and GetFailure says why. Call after Unpack.
    QVApplet* LoadApplet(QVProperties& parameters);

    // D, as found by the last Unpack.
    const QVString& GetDirectory() const { return m_directory; }
    // What the last Unpack did.
    const QVUnpackReport& GetReport() const { return m_report; }
    // The module file name the configuration named (empty when none), as the last LoadApplet
    // read it.
    const QVString& GetModuleName() const { return m_moduleName; }
    // Why the last LoadApplet gave no applet, as a sentence for a message; empty when it gave
    // one.
    const std::string& GetFailure() const { return m_failure; }

private:
    QVPackageExtractor m_extractor;
    QVProperties m_configuration;
    QVString m_directory;
    QVString m_moduleName;
    QVUnpackReport m_report;
    std::string m_failure;
};
