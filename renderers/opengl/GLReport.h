#pragma once

// Writes what the current OpenGL context is, through the trace hook (one line per write):
//
//     <GL_RENDERER>
//     <GL_VERSION>
//     <GL_VENDOR>
//     # GL_EXTENSIONS ---------------
//     #    <one extension name per line>
//     # -----------------------------
//
// A string the implementation does not give is written as an empty line.
void WriteGLReport();
