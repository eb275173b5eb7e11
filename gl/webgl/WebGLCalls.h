#pragma once

// WebGL 1 itself, under the second names emscripten gives its GL functions ("emscripten_glX" beside
// "glX") so that a program may define glX itself. The layer defines the OpenGL 1.x names; these
// reach the browser's context. Declared here rather than through <webgl/webgl1.h>, whose GLES 2
// header cannot share a translation unit with the desktop <GL/gl.h> the layer implements.
#include <GL/gl.h>

extern "C"
{
    void emscripten_glActiveTexture(GLenum texture);
    void emscripten_glAttachShader(GLuint program, GLuint shader);
    void emscripten_glBindAttribLocation(GLuint program, GLuint index, const GLchar* name);
    void emscripten_glBindBuffer(GLenum target, GLuint buffer);
    void emscripten_glBindTexture(GLenum target, GLuint texture);
    void emscripten_glBlendFunc(GLenum source, GLenum destination);
    void emscripten_glBufferData(GLenum target, GLsizeiptr size, const void* data, GLenum usage);
    void emscripten_glClear(GLbitfield mask);
    void emscripten_glClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
    void emscripten_glClearDepthf(GLfloat depth);
    void emscripten_glClearStencil(GLint stencil);
    void emscripten_glColorMask(GLboolean red, GLboolean green, GLboolean blue, GLboolean alpha);
    void emscripten_glCompileShader(GLuint shader);
    GLuint emscripten_glCreateProgram(void);
    GLuint emscripten_glCreateShader(GLenum type);
    void emscripten_glCullFace(GLenum mode);
    void emscripten_glDeleteTextures(GLsizei count, const GLuint* textures);
    void emscripten_glDepthFunc(GLenum function);
    void emscripten_glDepthMask(GLboolean flag);
    void emscripten_glDepthRangef(GLfloat nearValue, GLfloat farValue);
    void emscripten_glDisable(GLenum capability);
    void emscripten_glDisableVertexAttribArray(GLuint index);
    void emscripten_glDrawArrays(GLenum mode, GLint first, GLsizei count);
    void emscripten_glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices);
    void emscripten_glEnable(GLenum capability);
    void emscripten_glEnableVertexAttribArray(GLuint index);
    void emscripten_glFinish(void);
    void emscripten_glFlush(void);
    void emscripten_glFrontFace(GLenum mode);
    void emscripten_glGenBuffers(GLsizei count, GLuint* buffers);
    void emscripten_glGenTextures(GLsizei count, GLuint* textures);
    GLenum emscripten_glGetError(void);
    void emscripten_glGetFloatv(GLenum name, GLfloat* data);
    void emscripten_glGetIntegerv(GLenum name, GLint* data);
    void emscripten_glGetProgramInfoLog(GLuint program, GLsizei size, GLsizei* length, GLchar* log);
    void emscripten_glGetProgramiv(GLuint program, GLenum name, GLint* value);
    void emscripten_glGetShaderInfoLog(GLuint shader, GLsizei size, GLsizei* length, GLchar* log);
    void emscripten_glGetShaderiv(GLuint shader, GLenum name, GLint* value);
    const GLubyte* emscripten_glGetString(GLenum name);
    GLint emscripten_glGetUniformLocation(GLuint program, const GLchar* name);
    void emscripten_glHint(GLenum target, GLenum mode);
    GLboolean emscripten_glIsTexture(GLuint texture);
    void emscripten_glLineWidth(GLfloat width);
    void emscripten_glLinkProgram(GLuint program);
    void emscripten_glPixelStorei(GLenum name, GLint value);
    void emscripten_glPolygonOffset(GLfloat factor, GLfloat units);
    void emscripten_glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                                 GLenum type, void* pixels);
    void emscripten_glScissor(GLint x, GLint y, GLsizei width, GLsizei height);
    void emscripten_glShaderSource(GLuint shader, GLsizei count, const GLchar* const* strings,
                                   const GLint* lengths);
    void emscripten_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                                 GLsizei height, GLint border, GLenum format, GLenum type,
                                 const void* pixels);
    void emscripten_glTexParameteri(GLenum target, GLenum name, GLint value);
    void emscripten_glUniform1f(GLint location, GLfloat value);
    void emscripten_glUniform1i(GLint location, GLint value);
    void emscripten_glUniform1iv(GLint location, GLsizei count, const GLint* values);
    void emscripten_glUniform2iv(GLint location, GLsizei count, const GLint* values);
    void emscripten_glUniform4fv(GLint location, GLsizei count, const GLfloat* values);
    void emscripten_glUniformMatrix3fv(GLint location, GLsizei count, GLboolean transpose,
                                       const GLfloat* values);
    void emscripten_glUniformMatrix4fv(GLint location, GLsizei count, GLboolean transpose,
                                       const GLfloat* values);
    void emscripten_glUseProgram(GLuint program);
    void emscripten_glVertexAttrib4fv(GLuint index, const GLfloat* values);
    void emscripten_glVertexAttribPointer(GLuint index, GLint size, GLenum type,
                                          GLboolean normalized, GLsizei stride,
                                          const void* pointer);
    void emscripten_glViewport(GLint x, GLint y, GLsizei width, GLsizei height);
}
