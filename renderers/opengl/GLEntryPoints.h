#pragma once

// The module-wide table of OpenGL entry points beyond 1.1 (blending, 3D textures, transposed
// matrices, buffers, shaders, uniforms and vertex attributes): 108 names, looked up once a
// context exists and kept for the module's life. The names are the renderer's own list, looked
// up exactly as written, odd spellings included ("glUnMapBuffer", "glVertexAttrib4nbv"), so an
// implementation may answer null for some of them. Nothing draws through them yet.
namespace GLEntryPoints
{
constexpr int kCount = 108;

// Name number i (0 to kCount - 1), or null outside.
const char* Name(int i);
// The address found for name number i by the last LookUp, or null.
void* Address(int i);

// Looks every name up through the platform's GL binding (with the context current) and keeps
// the addresses. Returns whether "glCreateShader" was found.
bool LookUp();
}  // namespace GLEntryPoints
