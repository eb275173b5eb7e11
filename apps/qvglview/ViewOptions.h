#pragma once

#include <string>
#include <vector>

// qvglview's command line: [--model FILE] [--texture IMAGE] [--screenshot FILE.tga]
// [--help].
struct ViewOptions
{
    std::string model;       // model file shown instead of the demo scene; empty: none
    std::string texture;     // image for the sphere and the boxes, or the model; empty: none
    std::string screenshot;  // where one frame is saved before the program ends; empty: none
    bool help = false;

    // Reads the words of a command line (empty words, left by repeated blanks, are skipped).
    // False with error set to a message for the user when a word is not understood.
    bool Parse(const std::vector<std::string>& words, std::string& error);

    // The usage text.
    static const char* Usage();
};
