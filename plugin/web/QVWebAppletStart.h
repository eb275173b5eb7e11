#pragma once

#include <string>
#include <utility>
#include <vector>

// What the page script (qvapplet.js) hands the main of an applet bundle, on its command line:
//
//   <package path> <element N> <width> <height> [<attribute name> <attribute value>]...
//
// The package lies in the bundle's virtual file system, in a folder of its own; N is the number
// of the host element "qvwin-N" the page made for the applet; width and height are its size in
// CSS pixels; the attributes are the page element's, in the page's order.
struct QVWebAppletStart
{
    std::string packagePath;
    int element = 0;
    int width = 0;
    int height = 0;
    std::vector<std::pair<std::string, std::string>> attributes;
};

// Reads the command line (argv[0] is the program). False, with the reason in error, when a
// field is missing or not a number in range, or an attribute has no value.
bool ParseWebAppletStart(int argc, const char* const* argv, QVWebAppletStart& start,
                         std::string& error);

// The start-up of an applet in the page, as the browser plug-in does it: the attributes become
// the parameters, the package is unpacked in its folder (the package layer, same confinement
// and limits; its byte limit is what the page script says the page's applets may still unpack,
// and what it unpacked is charged there), the applet module its configuration names is loaded (compiled into the bundle),
// the UI manager makes a white window of the element's size as a child of the host element,
// and the applet's Init and Run follow. Run's loop yields to the browser in ProcessMessages.
// Returns 0 when the applet ran, 1 when it could not start (said on standard error and told
// to the page).
int RunWebApplet(const QVWebAppletStart& start);
