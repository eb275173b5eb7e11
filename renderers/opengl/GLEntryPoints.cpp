#include "renderers/opengl/GLEntryPoints.h"

#include "gl/QVGLContext.h"

#include <cstring>

namespace
{
const char* const kNames[GLEntryPoints::kCount] = {
    "glBlendColor",
    "glBlendEquation",
    "glTexImage3D",
    "glTexSubImage3D",
    "glCopyTexSubImage3D",
    "glLoadTransposeMatrixf",
    "glLoadTransposeMatrixd",
    "glMultTransposeMatrixf",
    "glMultTransposeMatrixd",
    "glBindBuffer",
    "glDeleteBuffers",
    "glGenBuffers",
    "glIsBuffer",
    "glBufferData",
    "glBufferSubData",
    "glGetBufferSubData",
    "glMapBuffer",
    "glUnMapBuffer",
    "glGetBufferParameteriv",
    "glGetBufferPointerv",
    "glAttachShader",
    "glBindAttribLocation",
    "glCompileShader",
    "glCreateProgram",
    "glCreateShader",
    "glDeleteProgram",
    "glDeleteShader",
    "glDetachShader",
    "glDisableVertexAttribArray",
    "glEnableVertexAttribArray",
    "glGetActiveAttrib",
    "glGetActiveUniform",
    "glGetAttachedShaders",
    "glGetAttribLocation",
    "glGetProgramiv",
    "glGetProgramInfoLog",
    "glGetShaderiv",
    "glGetShaderInfoLog",
    "glGetShaderSource",
    "glGetUniformLocation",
    "glGetUniformfv",
    "glGetUniformiv",
    "glGetVertexAttribdv",
    "glGetVertexAttribfv",
    "glGetVertexAttribiv",
    "glGetVertexAttribPointer",
    "glIsProgram",
    "glIsShader",
    "glLinkProgram",
    "glShaderSource",
    "glUseProgram",
    "glUniform1f",
    "glUniform2f",
    "glUniform3f",
    "glUniform4f",
    "glUniform1i",
    "glUniform2i",
    "glUniform3i",
    "glUniform4i",
    "glUniform1fv",
    "glUniform2fv",
    "glUniform3fv",
    "glUniform4fv",
    "glUniform1iv",
    "glUniform2iv",
    "glUniform3iv",
    "glUniform4iv",
    "glUniformMatrix2fv",
    "glUniformMatrix3fv",
    "glUniformMatrix4fv",
    "glValidateProgram",
    "glVertexAttrib1d",
    "glVertexAttrib1dv",
    "glVertexAttrib1f",
    "glVertexAttrib1fv",
    "glVertexAttrib1s",
    "glVertexAttrib1sv",
    "glVertexAttrib2d",
    "glVertexAttrib2dv",
    "glVertexAttrib2f",
    "glVertexAttrib2fv",
    "glVertexAttrib2s",
    "glVertexAttrib2sv",
    "glVertexAttrib3d",
    "glVertexAttrib3dv",
    "glVertexAttrib3f",
    "glVertexAttrib3fv",
    "glVertexAttrib3s",
    "glVertexAttrib3sv",
    "glVertexAttrib4nbv",
    "glVertexAttrib4niv",
    "glVertexAttrib4nsv",
    "glVertexAttrib4nub",
    "glVertexAttrib4nubv",
    "glVertexAttrib4nuiv",
    "glVertexAttrib4nusv",
    "glVertexAttrib4bv",
    "glVertexAttrib4d",
    "glVertexAttrib4dv",
    "glVertexAttrib4f",
    "glVertexAttrib4fv",
    "glVertexAttrib4iv",
    "glVertexAttrib4s",
    "glVertexAttrib4sv",
    "glVertexAttrib4ubv",
    "glVertexAttrib4uiv",
    "glVertexAttrib4usv",
    "glVertexAttribPointer",
};

// Module-wide, as the drawing code of later renderers would reach them.
void* addresses[GLEntryPoints::kCount] = {};
}  // namespace

const char* GLEntryPoints::Name(int i) { return i >= 0 && i < kCount ? kNames[i] : nullptr; }

void* GLEntryPoints::Address(int i) { return i >= 0 && i < kCount ? addresses[i] : nullptr; }

bool GLEntryPoints::LookUp()
{
    bool createShaderFound = false;
    for (int i = 0; i < kCount; ++i)
    {
        addresses[i] = QVGLContext::LookUpEntryPoint(kNames[i]);
        if (std::strcmp(kNames[i], "glCreateShader") == 0)
        {
            createShaderFound = addresses[i] != nullptr;
        }
    }
    return createShaderFound;
}
