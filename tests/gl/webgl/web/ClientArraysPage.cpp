// The web GL layer's vertex arrays against its immediate mode: every case draws the same vertices
// once between glBegin and glEnd and once from client arrays, lit and textured, and compares the
// two pictures. The page's script reads window.qvArrayCases: [name, differing pixels, GL error].
#include "gl/QVGL.h"
#include "gl/QVGLContext.h"

#include <emscripten/emscripten.h>

#include <cstdint>
#include <string>
#include <vector>

namespace
{
const int kSize = 64;
const int kGrid = 5;  // vertices per side

EM_JS(int, MakeCanvasWindow, (int size), {
    const div = document.createElement("div");
    div.id = "qvwin-1";
    const canvas = document.createElement("canvas");
    canvas.id = "qvwin-1-canvas";
    canvas.width = canvas.height = size;
    div.appendChild(canvas);
    document.body.appendChild(div);
    return 1;
});

EM_JS(void, Report, (const char* json), { window.qvArrayCases = JSON.parse(UTF8ToString(json)); });

// One vertex of the interleaved arrays; the packed arrays hold the same values apart.
struct Vertex
{
    float uv[2];
    float normal[3];
    float position[3];
    std::uint8_t colour[4];
};

enum Form
{
    kArrays,          // glDrawArrays over the vertices copied in drawing order
    kElementsUByte,   // glDrawElements, unsigned byte indices
    kElementsUShort,  // unsigned short
    kElementsUInt,    // unsigned int
    kElementsFar,     // unsigned int, the vertices moved 70,000 places up (beyond 16-bit ranges)
    kInterleaved,     // glInterleavedArrays(GL_T2F_N3F_V3F) and unsigned int indices
};

struct Case
{
    const char* name;
    GLenum mode;
    Form form;
    bool interleaved;  // the arrays share one block with a stride, else each is packed
    bool normals, texCoords, colours;
    bool flat;
};

const Case kCases[] = {
    {"triangles, drawArrays, packed", GL_TRIANGLES, kArrays, false, true, true, false, false},
    {"triangles, ushort, interleaved", GL_TRIANGLES, kElementsUShort, true, true, true, true,
     false},
    {"triangles, uint, packed", GL_TRIANGLES, kElementsUInt, false, true, true, false, false},
    {"triangles, ubyte, no normals", GL_TRIANGLES, kElementsUByte, true, false, true, false, false},
    {"triangles, uint, no texture coordinates", GL_TRIANGLES, kElementsUInt, true, true, false,
     true, false},
    {"triangles, indices beyond 16 bits", GL_TRIANGLES, kElementsFar, false, true, true, false,
     false},
    {"interleaved T2F_N3F_V3F as the renderer feeds", GL_TRIANGLES, kInterleaved, true, true, true,
     false, false},
    {"triangle strip, drawArrays", GL_TRIANGLE_STRIP, kArrays, true, true, true, true, false},
    {"triangle fan, ushort", GL_TRIANGLE_FAN, kElementsUShort, false, true, true, false, false},
    {"quads, ushort", GL_QUADS, kElementsUShort, true, true, true, true, false},
    {"flat triangles, uint", GL_TRIANGLES, kElementsUInt, true, true, false, true, true},
    {"lines, drawArrays", GL_LINES, kArrays, false, false, false, true, false},
};

std::vector<Vertex> GridVertices()
{
    std::vector<Vertex> vertices;
    for (int y = 0; y < kGrid; ++y)
    {
        for (int x = 0; x < kGrid; ++x)
        {
            const float fx = float(x) / (kGrid - 1);
            const float fy = float(y) / (kGrid - 1);
            Vertex v = {{fx * 2.0f, fy * 1.5f},
                        {fx - 0.5f, fy - 0.5f, 0.8f},
                        {fx * 1.8f - 0.9f, fy * 1.8f - 0.9f, (x + y) % 2 * 0.2f},
                        {std::uint8_t(60 * x), std::uint8_t(255 - 50 * y), 128, 255}};
            vertices.push_back(v);
        }
    }
    return vertices;
}

// The vertex numbers the mode draws, in drawing order, over the grid.
std::vector<std::uint32_t> Order(GLenum mode)
{
    std::vector<std::uint32_t> order;
    auto at = [](int x, int y) { return std::uint32_t(y * kGrid + x); };
    for (int y = 0; y + 1 < kGrid; ++y)
    {
        for (int x = 0; x + 1 < kGrid; ++x)
        {
            if (mode == GL_QUADS)
                order.insert(order.end(), {at(x, y), at(x + 1, y), at(x + 1, y + 1), at(x, y + 1)});
            else if (mode == GL_TRIANGLES || mode == GL_LINES)
                order.insert(order.end(), {at(x, y), at(x + 1, y), at(x, y + 1), at(x + 1, y),
                                           at(x + 1, y + 1), at(x, y + 1)});
        }
    }
    if (mode == GL_TRIANGLE_STRIP)
    {
        for (int x = 0; x < kGrid; ++x)
            order.insert(order.end(), {at(x, 1), at(x, 0)});
    }
    if (mode == GL_TRIANGLE_FAN)
        order = {at(2, 2), at(0, 0), at(2, 0), at(4, 0), at(4, 2), at(4, 4), at(2, 4), at(0, 4)};
    return order;
}

void SetUpState(bool flat)
{
    glClearColor(0.1f, 0.1f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(20.0f, 0.0f, 0.0f, 1.0f);
    glShadeModel(flat ? GL_FLAT : GL_SMOOTH);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    const GLfloat position[4] = {0.5f, 1.0f, 2.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glEnable(GL_TEXTURE_2D);
    // The current values that stand in for arrays that are off.
    glNormal3f(0.2f, 0.3f, 0.9f);
    glTexCoord2f(0.3f, 0.6f);
    glColor3f(0.9f, 0.7f, 0.2f);
}

void DrawImmediate(const Case& c, const std::vector<Vertex>& grid)
{
    glBegin(c.mode);
    for (std::uint32_t v : Order(c.mode))
    {
        const Vertex& x = grid[v];
        if (c.normals)
            glNormal3fv(x.normal);
        if (c.texCoords)
            glTexCoord2f(x.uv[0], x.uv[1]);
        if (c.colours)
            glColor4ub(x.colour[0], x.colour[1], x.colour[2], x.colour[3]);
        glVertex3fv(x.position);
    }
    glEnd();
}

// The arrays of the case over vertices (interleaved, or copied apart and packed).
struct Packed
{
    std::vector<float> uv, normal, position;
    std::vector<std::uint8_t> colour;
};

void Point(const Case& c, const std::vector<Vertex>& vertices, Packed& packed)
{
    if (c.form == kInterleaved)
    {
        std::vector<float>& block = packed.position;  // t, t, n, n, n, x, y, z
        for (const Vertex& v : vertices)
            block.insert(block.end(), {v.uv[0], v.uv[1], v.normal[0], v.normal[1], v.normal[2],
                                       v.position[0], v.position[1], v.position[2]});
        glInterleavedArrays(GL_T2F_N3F_V3F, 0, block.data());
        return;
    }
    for (const Vertex& v : vertices)
    {
        packed.uv.insert(packed.uv.end(), v.uv, v.uv + 2);
        packed.normal.insert(packed.normal.end(), v.normal, v.normal + 3);
        packed.position.insert(packed.position.end(), v.position, v.position + 3);
        packed.colour.insert(packed.colour.end(), v.colour, v.colour + 4);
    }
    const Vertex* first = vertices.data();
    const GLsizei stride = sizeof(Vertex);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, c.interleaved ? stride : 0,
                    c.interleaved ? first->position : packed.position.data());
    (c.normals ? glEnableClientState : glDisableClientState)(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, c.interleaved ? stride : 0,
                    c.interleaved ? first->normal : packed.normal.data());
    (c.texCoords ? glEnableClientState : glDisableClientState)(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, c.interleaved ? stride : 0,
                      c.interleaved ? first->uv : packed.uv.data());
    (c.colours ? glEnableClientState : glDisableClientState)(GL_COLOR_ARRAY);
    glColorPointer(4, GL_UNSIGNED_BYTE, c.interleaved ? stride : 0,
                   c.interleaved ? first->colour : packed.colour.data());
}

void DrawArrays(const Case& c, const std::vector<Vertex>& grid)
{
    const std::vector<std::uint32_t> order = Order(c.mode);
    const std::uint32_t shift = c.form == kElementsFar ? 70000 : 0;
    std::vector<Vertex> vertices;
    if (c.form == kArrays)
    {
        for (std::uint32_t v : order)
            vertices.push_back(grid[v]);
    }
    else
    {
        vertices.assign(shift, grid[0]);
        vertices.insert(vertices.end(), grid.begin(), grid.end());
    }
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    Packed packed;
    Point(c, vertices, packed);
    const GLsizei count = static_cast<GLsizei>(order.size());
    std::vector<std::uint32_t> ints(order);
    for (std::uint32_t& v : ints)
        v += shift;
    const std::vector<GLushort> shorts(order.begin(), order.end());
    const std::vector<GLubyte> bytes(order.begin(), order.end());
    if (c.form == kArrays)
        glDrawArrays(c.mode, 0, count);
    else if (c.form == kElementsUByte)
        glDrawElements(c.mode, count, GL_UNSIGNED_BYTE, bytes.data());
    else if (c.form == kElementsUShort)
        glDrawElements(c.mode, count, GL_UNSIGNED_SHORT, shorts.data());
    else
        glDrawElements(c.mode, count, GL_UNSIGNED_INT, ints.data());
    glPopClientAttrib();
}

std::vector<std::uint8_t> Read()
{
    std::vector<std::uint8_t> pixels(kSize * kSize * 4);
    glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// Pixels that differ by more than 1 in a channel (a byte colour reaches the shader converted by
// the layer in one form, by WebGL in the other).
long Differing(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
{
    long differing = 0;
    for (std::size_t p = 0; p < a.size(); p += 4)
    {
        bool differs = false;
        for (int k = 0; k < 3; ++k)
            differs = differs || a[p + k] > b[p + k] + 1 || b[p + k] > a[p + k] + 1;
        differing += differs ? 1 : 0;
    }
    return differing;
}

// name, pixels that differ, GL error, pixels the reference drew
std::string Row(const char* name, long differing, GLenum error, long drawn)
{
    return std::string("[\"") + name + "\"," + std::to_string(differing) + "," +
           std::to_string(error) + "," + std::to_string(drawn) + "]";
}

// A texture of 4 x 4 checks, so that texture coordinates show.
void MakeTexture()
{
    std::uint8_t pixels[4 * 4 * 3];
    for (int i = 0; i < 16; ++i)
    {
        const bool light = (i % 4 + i / 4) % 2 == 0;
        pixels[3 * i] = light ? 250 : 40;
        pixels[3 * i + 1] = light ? 230 : 90;
        pixels[3 * i + 2] = light ? 200 : 160;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
}
}  // namespace

int main()
{
    static QVGLContext context;
    const int window = MakeCanvasWindow(kSize);
    if (!context.Create(nullptr, reinterpret_cast<QVHandle>(static_cast<std::intptr_t>(window)), 32,
                        24))
    {
        Report("[[\"context\",-1,0,0]]");
        return 0;
    }
    MakeTexture();
    const std::vector<Vertex> grid = GridVertices();
    std::string rows;
    SetUpState(false);
    const std::vector<std::uint8_t> empty = Read();
    for (const Case& c : kCases)
    {
        SetUpState(c.flat);
        DrawImmediate(c, grid);
        const std::vector<std::uint8_t> immediate = Read();
        SetUpState(c.flat);
        DrawArrays(c, grid);
        const GLenum error = glGetError();
        rows += Row(c.name, Differing(immediate, Read()), error, Differing(empty, immediate)) + ",";
    }
    // An index far past the arrays (and past the program's memory): the draw is skipped whole,
    // with GL_INVALID_VALUE, and the program goes on. Compared with a frame without the draw.
    SetUpState(false);
    std::vector<Vertex> vertices = grid;
    Packed packed;
    const Case& plain = kCases[0];
    Point(plain, vertices, packed);
    const GLuint far[6] = {0, 1, 5, 1, 6, 0xFFFFFFF0u};
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, far);
    const GLenum error = glGetError();
    rows += Row("an index past the program's memory skips the draw", Differing(empty, Read()),
                error == GL_INVALID_VALUE ? 0 : (error == 0 ? 1 : error), -1);
    Report(("[" + rows + "]").c_str());
    return 0;
}
