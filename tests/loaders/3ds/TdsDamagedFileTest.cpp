// Damaged and hostile 3D Studio files: cut short anywhere, chunk lengths that cannot be right,
// faces naming vertices that do not exist, counts larger than their lists. Every such file that
// starts with a main chunk loads, with what was usable, and leaves a mesh that is safe to draw.
#include "tests/loaders/3ds/TdsTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace tdsfile;

namespace
{
class TdsDamaged : public ::testing::Test
{
protected:
    void SetUp() override { Empty(Mesh()); }

    static QVSGMesh& Mesh()
    {
        static QVSGMesh mesh;
        return mesh;
    }

    bool Load(const std::string& bytes) { return LoadBytes(m_loader, Mesh(), bytes); }
    MeshFacts Facts() { return FactsOf(Mesh()); }

    // Every index names a vertex, the group covers the index array exactly, normals are sound.
    ::testing::AssertionResult SafeToDraw()
    {
        QVSGMesh& mesh = Mesh();
        for (int i = 0; i < mesh.GetIndexCount(); ++i)
        {
            if (mesh.GetIndex(i) < 0 || mesh.GetIndex(i) >= mesh.GetVertexCount())
            {
                return ::testing::AssertionFailure() << "index " << i << " is " << mesh.GetIndex(i);
            }
        }
        if (mesh.GetIndexCount() % 3 != 0 ||
            (mesh.GetFaceGroupCount() == 1 &&
             mesh.GetFaceGroup(0).GetIndexCount() != mesh.GetIndexCount()))
        {
            return ::testing::AssertionFailure() << "group does not cover the indices";
        }
        return NormalsAreSound(mesh);
    }

    QV3dsLoader m_loader;
};

// Records of `size` bytes from `first` on that lie wholly within the first `length` bytes.
int Complete(std::size_t length, std::size_t first, std::size_t size, int count)
{
    if (length < first)
    {
        return 0;
    }
    return std::min(count, static_cast<int>((length - first) / size));
}

const std::vector<Face> kOneFace = {{{0, 1, 2}}};
const std::vector<Vertex> kThree = {{{0, 0, 0}}, {{1, 0, 0}}, {{0, 1, 0}}};
}  // namespace

TEST_F(TdsDamaged, FilesCutShortAnywhereLoadWhatWasComplete)
{
    // Offsets of the lists in this file, from the sizes of what precedes them.
    const std::string head = MeshVersion();
    const std::string vertices = Vertices(CubeVertices());
    const std::string pairs = Pairs(CubePairs());
    const std::string faces = Faces(CubeFaces(), SmoothingGroups(12));
    const std::string file =
        Main(Editor(head + Object("cube", TriangleMesh(vertices + pairs + faces))) +
             Keyframer(Chunk(0xB002, "keys")));
    const std::size_t meshAt = 6 + 6 + head.size() + 6 + 5;
    const std::size_t verticesAt = meshAt + 6;
    const std::size_t pairsAt = verticesAt + vertices.size();
    const std::size_t facesAt = pairsAt + pairs.size();

    const MeshFacts whole = ExpectedFacts(CubeVertices(), CubeFaces(), CubePairs());
    for (std::size_t length = 0; length < file.size(); ++length)
    {
        Empty(Mesh());
        const bool loaded = Load(file.substr(0, length));
        ASSERT_EQ(length >= 6, loaded) << "cut at " << length;
        // Before the triangle mesh's header is whole, nothing is filled.
        MeshFacts expected;
        if (length >= meshAt + 6)
        {
            const int v = Complete(length, verticesAt + 8, 12, 8);
            const int p = Complete(length, pairsAt + 8, 8, 8);
            const int f = Complete(length, facesAt + 8, 8, 12);
            expected.positions.assign(whole.positions.begin(), whole.positions.begin() + v);
            expected.uvs.assign(whole.uvs.begin(), whole.uvs.begin() + std::min(v, p));
            expected.uvs.resize(v, {0.0f, 0.0f});
            expected.indices.assign(whole.indices.begin(), whole.indices.begin() + 3 * f);
            expected.groups.push_back({0, 3 * f});
        }
        ASSERT_EQ(expected, Facts()) << "cut at " << length;
        ASSERT_TRUE(SafeToDraw()) << "cut at " << length;
    }
}

TEST_F(TdsDamaged, ImpossibleChunkLengthsEndTheWalkOfTheirParent)
{
    const std::string cube = Object("cube", CubeMesh());
    const std::string triangle =
        Object("triangle", TriangleMesh(Vertices(kThree) + Faces(kOneFace)));
    const std::string vertexBody = Vertices(CubeVertices()).substr(6);
    const MeshFacts cubeFacts = ExpectedFacts(CubeVertices(), CubeFaces(), CubePairs());
    const MeshFacts triangleFacts = ExpectedFacts(kThree, kOneFace, {});
    const MeshFacts verticesOnly = ExpectedFacts(CubeVertices(), {}, {});
    const MeshFacts nothingRead = ExpectedFacts({}, {}, {});
    struct Case
    {
        const char* what;
        std::string file;
        MeshFacts expected;
    };
    const Case cases[] = {
        {"zero-length chunk in the editor before the object",
         Main(Editor(ChunkWithLength(0x3D3E, 0, "") + cube)), MeshFacts{}},
        {"zero-length chunk with data behind it",
         Main(Editor(ChunkWithLength(0x3D3E, 0, U32(3)) + cube)), MeshFacts{}},
        {"length 5 in the editor", Main(Editor(ChunkWithLength(0x3D3E, 5, "") + cube)),
         MeshFacts{}},
        {"zero-length chunk in the mesh after the vertices",
         Main(Editor(
             Object("cube", TriangleMesh(Vertices(CubeVertices()) + ChunkWithLength(0x4111, 0, "") +
                                         Faces(CubeFaces()))))),
         verticesOnly},
        {"zero-length main chunk", ChunkWithLength(0x4D4D, 0, Editor(cube)), MeshFacts{}},
        {"zero-length editor chunk", Main(ChunkWithLength(0x3D3D, 0, cube)), MeshFacts{}},
        {"vertex list longer than its mesh",
         Main(Editor(Object(
             "bad", TriangleMesh(ChunkWithLength(0x4110, 600, vertexBody) + Faces(CubeFaces()))))),
         nothingRead},
        {"the damage stays inside its parent: the next object loads",
         Main(Editor(Object("bad", TriangleMesh(ChunkWithLength(0x4110, 600, vertexBody) +
                                                Faces(CubeFaces()))) +
                     triangle)),
         triangleFacts},
        {"object longer than the editor",
         Main(Editor(ChunkWithLength(0x4000, 5000, cube.substr(6)))), MeshFacts{}},
        {"editor longer than the main chunk", ChunkWithLength(0x4D4D, 20, Editor(cube)),
         MeshFacts{}},
        {"main chunk longer than the file: a file cut short",
         ChunkWithLength(0x4D4D, 0xFFFFFFFFu, Editor(cube)), cubeFacts},
        {"bytes after the main chunk are not read", Main(Editor(cube)) + Editor(triangle),
         cubeFacts},
        {"object name without its zero byte, then a good object",
         Main(Editor(Chunk(0x4000, "no end") + triangle)), triangleFacts},
    };
    for (const Case& c : cases)
    {
        Empty(Mesh());
        ASSERT_TRUE(Load(c.file)) << c.what;
        EXPECT_EQ(c.expected, Facts()) << c.what;
        EXPECT_TRUE(SafeToDraw()) << c.what;
    }
}

TEST_F(TdsDamaged, FacesNamingMissingVerticesAreDropped)
{
    // 8 vertices: faces with a number of 8 or above go, whichever list comes first.
    const std::vector<Face> faces = {{{0, 1, 2}}, {{0, 1, 8}},     {{8, 9, 10}},
                                     {{7, 6, 5}}, {{65535, 0, 1}}, {{3, 2, 1}}};
    const std::vector<Face> valid = {{{0, 1, 2}}, {{7, 6, 5}}, {{3, 2, 1}}};
    const std::string v = Vertices(CubeVertices());
    const std::string f = Faces(faces);
    struct Case
    {
        const char* what;
        std::string meshBody;
        MeshFacts expected;
    };
    const Case cases[] = {
        {"vertices first", v + f, ExpectedFacts(CubeVertices(), valid, {})},
        {"faces first", f + v, ExpectedFacts(CubeVertices(), valid, {})},
        {"no vertex list", f, ExpectedFacts({}, {}, {})},
        {"fewer vertices than the faces use", Vertices(kThree) + Faces(CubeFaces()),
         ExpectedFacts(kThree, {{{0, 1, 2}}}, {})},
    };
    for (const Case& c : cases)
    {
        Empty(Mesh());
        ASSERT_TRUE(Load(Main(Editor(Object("o", TriangleMesh(c.meshBody)))))) << c.what;
        EXPECT_EQ(c.expected, Facts()) << c.what;
        EXPECT_TRUE(SafeToDraw()) << c.what;
    }
}

TEST_F(TdsDamaged, CountsBeyondTheirChunkReadOnlyTheRecordsThatAreThere)
{
    const std::vector<Vertex> two = {{{1, 2, 3}}, {{4, 5, 6}}};
    const std::vector<Face> faces = {{{0, 1, 1}}};
    const std::vector<Pair> pairs = {{{0.5f, 0.25f}}, {{1, 0}}, {{7, 7}}};
    const std::vector<Face> noFaces;
    struct Case
    {
        const char* what;
        std::string meshBody;
        MeshFacts expected;
    };
    const Case cases[] = {
        {"every count 65535", Vertices(two, 65535) + Faces(faces, "", 65535) + Pairs(pairs, 65535),
         ExpectedFacts(two, faces, pairs)},
        // The face list's own sub-chunks lie inside it: read as faces, they name no vertex.
        {"face count beyond the faces, sub-chunks behind them",
         Vertices(two) + Faces(faces, SmoothingGroups(40), 65535), ExpectedFacts(two, faces, {})},
        {"counts below the records: the count wins",
         Vertices(two, 1) + Faces({{{0, 0, 0}}, {{1, 1, 1}}}, "", 1) + Pairs(pairs, 1),
         ExpectedFacts({{{1, 2, 3}}}, {{{0, 0, 0}}}, {{{0.5f, 0.25f}}})},
        {"lists too short for their count",
         Chunk(0x4110, "\x05") + Chunk(0x4120, "") + Chunk(0x4140, ""),
         ExpectedFacts({}, noFaces, {})},
        {"a vertex cut inside its record", Chunk(0x4110, U16(3) + std::string(12 + 11, '\0')),
         ExpectedFacts({{{0, 0, 0}}}, noFaces, {})},
    };
    for (const Case& c : cases)
    {
        Empty(Mesh());
        ASSERT_TRUE(Load(Main(Editor(Object("o", TriangleMesh(c.meshBody)))))) << c.what;
        EXPECT_EQ(c.expected, Facts()) << c.what;
        EXPECT_TRUE(SafeToDraw()) << c.what;
    }
}
