// The model loader on files written by the test: what small valid glTF and OBJ files become
// (winding, node transforms, texture coordinates, materials), and hostile ones, each of which must
// end with a message and leave the mesh as it was.
#include "tests/loaders/LoaderTestSupport.h"
#include "tests/loaders/model/ModelTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace
{
std::string Base64(const std::string& bytes)
{
    static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3)
    {
        const std::size_t left = bytes.size() - i;
        const std::uint32_t n = (std::uint8_t(bytes[i]) << 16) |
                                (left > 1 ? std::uint8_t(bytes[i + 1]) << 8 : 0) |
                                (left > 2 ? std::uint8_t(bytes[i + 2]) : 0);
        out += digits[(n >> 18) & 63];
        out += digits[(n >> 12) & 63];
        out += left > 1 ? digits[(n >> 6) & 63] : '=';
        out += left > 2 ? digits[n & 63] : '=';
    }
    return out;
}

template <typename T>
std::string Bytes(std::initializer_list<T> values)
{
    std::string out(values.size() * sizeof(T), '\0');
    std::memcpy(&out[0], values.begin(), out.size());
    return out;
}

// One triangle (0,0,0) (1,0,0) (0,1,0), counter-clockwise seen from +z, indexed 0 1 2, with
// texture coordinates; `edit` pairs replace text of the document to make each case.
std::string Triangle(std::initializer_list<std::pair<std::string, std::string>> edits = {},
                     std::string indices = Bytes<std::uint16_t>({0, 1, 2, 0}))
{
    const std::string buffer = Bytes<float>({0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 1}) +
                               indices + Bytes<float>({0, 0, 1, 0, 0, 1, 0, 0, 1});
    std::string doc =
        R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],)"
        R"("nodes":[{"mesh":0}],"meshes":[{"primitives":[{"attributes":{"POSITION":0,)"
        R"("TEXCOORD_0":2,"NORMAL":3},"indices":1}]}],"accessors":[)"
        R"({"bufferView":0,"componentType":5126,"count":3,"type":"VEC3"},)"
        R"({"bufferView":1,"componentType":5123,"count":3,"type":"SCALAR"},)"
        R"({"bufferView":2,"componentType":5126,"count":3,"type":"VEC2"},)"
        R"({"bufferView":3,"componentType":5126,"count":3,"type":"VEC3"}],)"
        R"("bufferViews":[{"buffer":0,"byteLength":36},{"buffer":0,"byteOffset":60,"byteLength":6},)"
        R"({"buffer":0,"byteOffset":36,"byteLength":24},{"buffer":0,"byteOffset":68,"byteLength":36}],)"
        R"("buffers":[{"byteLength":104,"uri":"data:application/octet-stream;base64,)" +
        Base64(buffer) + R"("}]})";
    for (const auto& edit : edits)
    {
        const std::size_t at = doc.find(edit.first);
        EXPECT_NE(at, std::string::npos) << edit.first;
        if (at != std::string::npos)
            doc.replace(at, edit.first.size(), edit.second);
    }
    return doc;
}

std::string Glb(const std::string& json, const std::string& bin, std::uint32_t binLength)
{
    std::string padded = json + std::string((4 - json.size() % 4) % 4, ' ');
    std::string out = "glTF" + Bytes<std::uint32_t>({2, 0}) +
                      Bytes<std::uint32_t>({std::uint32_t(padded.size()), 0x4E4F534A}) + padded +
                      Bytes<std::uint32_t>({binLength, 0x004E4942}) + bin;
    const std::uint32_t length = std::uint32_t(out.size());
    std::memcpy(&out[8], &length, 4);
    return out;
}

TEST(ModelCraftedGltf, ATriangleIsWoundPlacedAndMappedAsTheSystemExpects)
{
    ScratchFile file("plain.gltf", Triangle());
    LoadedModel plain(file.Name());
    ASSERT_TRUE(plain.ok) << plain.Error();
    ASSERT_EQ(plain.mesh.GetIndexCount(), 3);
    // Reversed winding; the computed normal faces +z, as the file's counter-clockwise front.
    EXPECT_EQ(plain.mesh.GetIndex(1), 2);
    EXPECT_FLOAT_EQ(plain.mesh.GetVertex(0).nz, 1.0f);
    // v runs up: glTF's (0, 0) is the image's top left.
    EXPECT_FLOAT_EQ(plain.mesh.GetVertex(0).v, 1.0f);
    EXPECT_FLOAT_EQ(plain.mesh.GetVertex(2).v, 0.0f);
    ASSERT_EQ(plain.mesh.GetSubObjects().GetSize(), 1);
    EXPECT_EQ(plain.mesh.GetSubObjects()[0].name.GetLength(), 0);

    // A parent's translation and a mirroring scale: the winding turns so the front stays +z.
    file.Write(
        Triangle({{R"("nodes":[{"mesh":0}])", R"("nodes":[{"translation":[5,0,0],"children":[1]},)"
                                              R"({"mesh":0,"scale":[-1,1,1]}])"}}));
    LoadedModel mirrored(file.Name());
    ASSERT_TRUE(mirrored.ok) << mirrored.Error();
    EXPECT_DOUBLE_EQ(mirrored.mesh.GetVertex(1).x, 4.0);
    EXPECT_EQ(mirrored.mesh.GetIndex(1), 1);
    EXPECT_FLOAT_EQ(mirrored.mesh.GetVertex(0).nz, 1.0f);

    // A rotation of a quarter turn about x takes the file's normal +z to -y.
    file.Write(Triangle({{R"("nodes":[{"mesh":0}])",
                          R"("nodes":[{"mesh":0,"rotation":[0.70710678,0,0,0.70710678]}])"}}));
    LoadedModel turned(file.Name());
    ASSERT_TRUE(turned.ok) << turned.Error();
    EXPECT_NEAR(turned.mesh.GetVertex(0).ny, -1.0f, 1e-6);

    // A double-sided material: the triangle again, turned round, on vertices facing -z.
    file.Write(Triangle({{R"("indices":1})", R"("indices":1,"material":0})"},
                         {R"("accessors")", R"("materials":[{"doubleSided":true}],"accessors")"}}));
    LoadedModel twoSided(file.Name());
    ASSERT_TRUE(twoSided.ok) << twoSided.Error();
    ASSERT_EQ(twoSided.Triangles(), 2);
    EXPECT_EQ(twoSided.mesh.GetIndex(4), 3 + 1);
    EXPECT_FLOAT_EQ(twoSided.mesh.GetVertex(3).nz, -1.0f);

    // A base colour factor and texture file go to the group's sub-object.
    file.Write(Triangle(
        {{R"("indices":1})", R"("indices":1,"material":0})"},
         {R"("accessors")", R"("materials":[{"pbrMetallicRoughness":{"baseColorFactor":)"
                            R"([1,0.5,0.25,1],"baseColorTexture":{"index":0}}}],)"
                            R"("textures":[{"source":0}],"images":[{"uri":"wood%20grain.png"}],)"
                            R"("accessors")"}}));
    LoadedModel textured(file.Name());
    ASSERT_TRUE(textured.ok) << textured.Error();
    EXPECT_STREQ(textured.mesh.GetSubObjects()[0].name.GetBuffer(), "wood grain.png");
    EXPECT_DOUBLE_EQ(textured.mesh.GetSubObjects()[0].vector[1], 0.5);
}

struct HostileCase
{
    const char* name;
    std::string bytes;
    const char* message;  // a part of the expected message
};

void ExpectRefused(const HostileCase& c, const char* extension)
{
    ScratchFile file(std::string("hostile-") + c.name + extension, c.bytes);
    LoadedModel model(file.Name(), 1);
    EXPECT_FALSE(model.ok) << c.name;
    EXPECT_NE(model.Error().find(c.message), std::string::npos)
        << c.name << ": expected a message with '" << c.message << "', got '" << model.Error()
        << "'";
    EXPECT_EQ(model.mesh.GetVertexCount(), 1) << c.name;
    EXPECT_EQ(model.mesh.GetFaceGroupCount(), 0) << c.name;
}

std::string Chain(int depth)
{
    std::string nodes;
    for (int i = 0; i < depth; ++i)
        nodes += R"({"children":[)" + std::to_string(i + 1) + "]},";
    return R"("nodes":[)" + nodes + R"({"mesh":0}])";
}

TEST(ModelCraftedGltf, HostileFilesEndWithAMessageAndNothingLoaded)
{
    const std::string bin = Bytes<float>({0, 0, 0, 1, 0, 0, 0, 1, 0});
    const std::string binJson =
        R"({"asset":{"version":"2.0"},"nodes":[{"mesh":0}],"meshes":[{"primitives":[)"
        R"({"attributes":{"POSITION":0}}]}],"accessors":[{"bufferView":0,"componentType":5126,)"
        R"("count":3,"type":"VEC3"}],"bufferViews":[{"buffer":0,"byteLength":36}],)"
        R"("buffers":[{"byteLength":36}]})";
    const HostileCase cases[] = {
        {"index-past-vertices", Triangle({}, Bytes<std::uint16_t>({0, 1, 3, 0})), "passes"},
        {"count-past-view",
         Triangle({{R"("count":3,"type":"VEC3")", R"("count":4,"type":"VEC3")"}}),
         "past the end of its buffer view"},
        {"view-past-buffer", Triangle({{R"("byteLength":36})", R"("byteLength":36000})"}}),
         "past the end of its buffer"},
        {"huge-count-without-view",
         Triangle({{R"("bufferView":0,"componentType":5126,"count":3,)",
                    R"("componentType":5126,"count":4000000000,)"}}),
         "claims"},
        {"mesh-named-by-many-nodes",
         Triangle({{R"({"bufferView":0,"componentType":5126,"count":3,)",
                    R"({"componentType":5126,"count":3000000,)"},
                   {R"(,"indices":1})", "}"},
                   {R"("TEXCOORD_0":2,"NORMAL":3)", R"("NORMAL":0)"},
                   {R"("scenes":[{"nodes":[0]}])", R"("scenes":[{"nodes":[0,1,2]}])"},
                   {R"("nodes":[{"mesh":0}])", R"("nodes":[{"mesh":0},{"mesh":0},{"mesh":0}])"}}),
         "more than"},
        {"stride-below-element",
         Triangle({{R"({"buffer":0,"byteLength":36})",
                    R"({"buffer":0,"byteLength":36,"byteStride":4})"}}),
         "stride"},
        {"sparse",
         Triangle({{R"("type":"VEC2")", R"("type":"VEC2","sparse":{"count":1,)"
                                        R"("indices":{"bufferView":1,"componentType":5123},)"
                                        R"("values":{"bufferView":2}})"}}),
         "sparse"},
        {"node-is-its-own-child",
         Triangle({{R"("nodes":[{"mesh":0}])", R"("nodes":[{"mesh":0,"children":[0]}])"}}),
         "own descendant"},
        {"node-with-two-parents",
         Triangle({{R"("nodes":[{"mesh":0}])",
                    R"("nodes":[{"children":[2]},{"children":[2]},{"mesh":0}])"},
                   {R"("scenes":[{"nodes":[0]}])", R"("scenes":[{"nodes":[0,1]}])"}}),
         "two nodes"},
        {"absurd-node-depth", Triangle({{R"("nodes":[{"mesh":0}])", Chain(300)}}), "deeper than"},
        {"absurd-json-nesting",
         Triangle({{R"("asset":{)", R"("extras":)" + std::string(100000, '[') +
                                        std::string(100000, ']') + R"(,"asset":{)"}}),
         "nests deeper"},
        {"buffer-uri-leaving-the-folder",
         Triangle({{R"("uri":"data:application/octet-stream;base64,)",
                    R"("uri":"..%2Foutside.bin","x":")"}}),
         "leads out"},
        {"absolute-buffer-uri",
         Triangle(
             {{R"("uri":"data:application/octet-stream;base64,)", R"("uri":"/etc/passwd","x":")"}}),
         "absolute"},
        {"image-uri-leaving-the-folder",
         Triangle({{R"("indices":1})", R"("indices":1,"material":0})"},
                   {R"("accessors")", R"("materials":[{"pbrMetallicRoughness":{"baseColorTexture":)"
                                      R"({"index":0}}}],"textures":[{"source":0}],)"
                                      R"("images":[{"uri":"sub/../../x.png"}],"accessors")"}}),
         "leads out"},
        // The parser's own check lets a binary chunk run 8 bytes past the file, and reads them.
        {"glb-binary-chunk-past-the-file",
         Glb(binJson.substr(0, binJson.size() - 5) + R"(44}]})", bin, 44), "binary chunk"},
        {"glb-cut-short", Glb(binJson, bin, 36).substr(0, 60), "container"},
    };
    for (const HostileCase& c : cases)
        ExpectRefused(c, ".gltf");
}

TEST(ModelCraftedObj, PolygonsMaterialsAndHostileReferences)
{
    ScratchFile library("quad.mtl", "newmtl red\nKd 1 0 0\nmap_Kd tex.png\n");
    ScratchFile file("quad.obj", "mtllib loaders-test-quad.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\n"
                                 "v 0 1 0\nvt 0 0\nvt 1 1\nusemtl red\nf 1/1 2/2 3/1 4/2\n");
    LoadedModel quad(file.Name());
    ASSERT_TRUE(quad.ok) << quad.Error();
    EXPECT_EQ(quad.Triangles(), 2);
    EXPECT_EQ(quad.mesh.GetVertexCount(), 4);
    EXPECT_FLOAT_EQ(quad.mesh.GetVertex(2).nz, 1.0f);
    EXPECT_FLOAT_EQ(quad.mesh.GetVertex(1).v, 1.0f);  // OBJ's v already runs up
    EXPECT_STREQ(quad.mesh.GetSubObjects()[0].name.GetBuffer(), "tex.png");
    EXPECT_DOUBLE_EQ(quad.mesh.GetSubObjects()[0].vector[1], 0.0);

    ScratchFile outside("outside.mtl", "newmtl red\nmap_Kd ../tex.png\n");
    std::string polygon = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf";
    for (int i = 0; i < 300; ++i)
        polygon += " " + std::to_string(i % 3 + 1);
    const HostileCase cases[] = {
        {"vertex-past-the-list", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 4\n", "does not have"},
        {"relative-vertex-before-the-list", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf -1 -2 -5\n",
         "does not have"},
        {"texture-coordinate-past-the-list", "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nf 1/1 2/2 3/1\n",
         "does not have"},
        {"library-leaving-the-folder", "mtllib ../x.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n",
         "leads out"},
        {"texture-leaving-the-folder",
         "mtllib loaders-test-outside.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl red\nf 1 2 3\n",
         "leads out"},
        {"face-of-300-corners", polygon + "\n", "255"},
    };
    for (const HostileCase& c : cases)
        ExpectRefused(c, ".obj");
}
// Lines the parser itself mishandles (a vertex weight's joint number turned into an int unchecked,
// an exponent that overflows its int): the loader reads past them, and the rest of the file loads
// as it would without them. A name holding such a number, not at its start, keeps its bytes.
TEST(ModelCraftedObj, NumbersTheParserCannotHoldAreReadPast)
{
    const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    const struct
    {
        const char* name;
        std::string text;
        float x;  // the first vertex's x as read
    } cases[] = {
        {"weight-with-nan-joint", "vw 1 0e99999 0.5\n" + triangle, 0},
        {"weight-with-huge-joint", "  vw\t1 1e30 0.5 3e39 1\r\n" + triangle, 0},
        {"exponent-at-int-overflow", "v 0e2147483648 0 0\n" + triangle.substr(8), 0},
        {"exponent-with-zeros-sign-and-point", "v -.E+0002147483649 0 0\n" + triangle.substr(8), 0},
        {"exponent-just-below-overflow", "v 2e-2147483647 0 0\n" + triangle.substr(8), 0},
        {"weight-in-lines-ended-by-cr", "v 2 0 0\rvw 1 0e99999 1\rv 1 0 0\rv 0 1 0\rf 1 2 3\r", 2},
    };
    for (const auto& c : cases)
    {
        ScratchFile file(std::string("guard-") + c.name + ".obj", c.text);
        LoadedModel model(file.Name());
        ASSERT_TRUE(model.ok) << c.name << ": " << model.Error();
        EXPECT_EQ(model.Triangles(), 1) << c.name;
        EXPECT_EQ(model.mesh.GetVertex(0).x, c.x) << c.name;
    }

    // The material library goes through the same reading: its colour's overflowing green reads
    // as the parser's default.
    ScratchFile library("numbers.mtl",
                        "newmtl m\nKd 1 0e2147483648 0.5\nmap_Kd tex-1e2147483648.png\n");
    ScratchFile file("numbers.obj", "mtllib loaders-test-numbers.mtl\nusemtl m\n" + triangle);
    LoadedModel model(file.Name());
    ASSERT_TRUE(model.ok) << model.Error();
    const QVSubObject& material = model.mesh.GetSubObjects()[0];
    EXPECT_STREQ(material.name.GetBuffer(), "tex-1e2147483648.png");
    EXPECT_DOUBLE_EQ(material.vector[0], 1.0);
    EXPECT_DOUBLE_EQ(material.vector[1], 0.0);
    EXPECT_DOUBLE_EQ(material.vector[2], 0.5);
}
}  // namespace
