// 3D Studio files written by the tests, read through the loader class: what a well-formed file
// gives, which chunks are skipped, and the files that are refused.
#include "loaders/QVProperties.h"
#include "scene/QVSGWorld.h"
#include "tests/loaders/3ds/TdsTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace tdsfile;

namespace
{
// One loader and one mesh for every case: each mesh scans for modules when it is built.
class TdsLoad : public ::testing::Test
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

    QV3dsLoader m_loader;
};
}  // namespace

TEST(TdsLoaderModule, DescribesItselfAndTakesTheNameOfTheFileItLoads)
{
    QV3dsLoader loader;
    EXPECT_EQ("Quarvo 3ds file loader", Narrow(loader.GetName()));
    EXPECT_EQ("All", Narrow(loader.GetPlatform()));
    EXPECT_EQ("Object Loader", Narrow(loader.GetType()));
    EXPECT_EQ("3D Studio", Narrow(loader.GetDescription()));
    EXPECT_EQ("3ds", Narrow(loader.GetExtension()));
    EXPECT_EQ(0, loader.GetFileName().GetLength());
    for (const char* name : {"model.3ds", "MODEL.3DS", "a.b.3Ds"})
    {
        EXPECT_TRUE(loader.CanLoad(name)) << name;
    }
    for (const char* name : {"model.tga", "3ds", "model.3ds.bak", ".3ds"})
    {
        EXPECT_FALSE(loader.CanLoad(name)) << name;
    }

    QVSGMesh mesh;
    ScratchFile file("named.3ds", CubeFile());
    ASSERT_TRUE(loader.Load(&mesh.GetLoaders(), file.Name()));
    EXPECT_EQ(file.Name(), Narrow(loader.GetFileName()));
    EXPECT_EQ(&mesh, loader.GetMesh());
    // Missing files are named too, and fail.
    EXPECT_FALSE(loader.Load(&mesh.GetLoaders(), "loaders-test-absent.3ds"));
    EXPECT_EQ("loaders-test-absent.3ds", Narrow(loader.GetFileName()));
}

TEST(TdsLoaderModule, RefusesClientsThatAreNotMeshes)
{
    QV3dsLoader loader;
    ScratchFile file("client.3ds", CubeFile());
    QVProperties properties(0);
    QVSGWorld world;
    EXPECT_FALSE(loader.Load(properties.GetModCollection(), file.Text()));
    EXPECT_FALSE(loader.Load(&world.GetLoaders(), file.Text()));
    EXPECT_FALSE(loader.Load(nullptr, file.Text()));
    EXPECT_EQ(0u, properties.GetCount());
}

TEST(TdsLoaderModule, SaveWritesNothing)
{
    QV3dsLoader loader;
    QVSGMesh mesh;
    ScratchFile absent("save.3ds");
    EXPECT_FALSE(loader.Save(&mesh.GetLoaders(), absent.Text()));
    EXPECT_FALSE(std::ifstream(absent.Name()).good());
    ScratchFile existing("existing.3ds", CubeFile());
    EXPECT_FALSE(loader.Save(&mesh.GetLoaders(), existing.Name()));
    EXPECT_EQ(CubeFile(), existing.Bytes());
}

// --- well-formed files ---

TEST_F(TdsLoad, CubeGivesItsCountsOneGroupAndReversedWinding)
{
    ASSERT_TRUE(Load(CubeFile()));
    QVSGMesh& mesh = Mesh();
    EXPECT_EQ(8, mesh.GetVertexCount());
    EXPECT_EQ(36, mesh.GetIndexCount());
    ASSERT_EQ(1, mesh.GetFaceGroupCount());
    EXPECT_EQ(0, mesh.GetFaceGroup(0).GetFirstIndex());
    EXPECT_EQ(36, mesh.GetFaceGroup(0).GetIndexCount());
    // Face (0, 1, 2) of the file becomes (0, 2, 1).
    EXPECT_EQ(0, mesh.GetIndex(0));
    EXPECT_EQ(2, mesh.GetIndex(1));
    EXPECT_EQ(1, mesh.GetIndex(2));
    EXPECT_EQ(ExpectedFacts(CubeVertices(), CubeFaces(), CubePairs()), Facts());
}

TEST_F(TdsLoad, ReversedWindingMakesNormalsPointOutOfTheModel)
{
    ASSERT_TRUE(Load(CubeFile()));
    EXPECT_TRUE(NormalsAreSound(Mesh()));
    for (int i = 0; i < Mesh().GetVertexCount(); ++i)
    {
        const QVVertex& v = Mesh().GetVertex(i);
        // Every corner's normal leans outwards on all three axes.
        EXPECT_GT(v.nx * v.x, 0.1) << "vertex " << i;
        EXPECT_GT(v.ny * v.y, 0.1) << "vertex " << i;
        EXPECT_GT(v.nz * v.z, 0.1) << "vertex " << i;
    }
}

TEST_F(TdsLoad, TextureCoordinatePairsAreStoredExchangedOnExistingVerticesOnly)
{
    const std::vector<Vertex> three = {{{0, 0, 0}}, {{1, 0, 0}}, {{0, 1, 0}}};
    const std::vector<Face> one = {{{0, 1, 2}}};
    struct Case
    {
        const char* what;
        std::vector<Pair> pairs;
        std::string meshBody;
    };
    const std::vector<Pair> exact = {{{0.25f, 0.75f}}, {{0.5f, 0.125f}}, {{1.0f, 0.0f}}};
    const std::vector<Pair> more = {
        {{0.25f, 0.75f}}, {{0.5f, 0.125f}}, {{1, 0}}, {{9, 9}}, {{8, 8}}};
    const std::vector<Pair> fewer = {{{0.25f, 0.75f}}};
    const Case cases[] = {
        {"one pair per vertex", exact, Vertices(three) + Faces(one) + Pairs(exact)},
        {"more pairs than vertices", more, Vertices(three) + Pairs(more) + Faces(one)},
        {"fewer pairs than vertices", fewer, Vertices(three) + Faces(one) + Pairs(fewer)},
        {"pairs before the vertices", exact, Pairs(exact) + Faces(one) + Vertices(three)},
    };
    for (const Case& c : cases)
    {
        Empty(Mesh());
        ASSERT_TRUE(Load(Main(Editor(Object("t", TriangleMesh(c.meshBody)))))) << c.what;
        EXPECT_EQ(ExpectedFacts(three, one, c.pairs), Facts()) << c.what;
        EXPECT_FLOAT_EQ(0.75f, Mesh().GetVertex(0).u) << c.what;
        EXPECT_FLOAT_EQ(0.25f, Mesh().GetVertex(0).v) << c.what;
    }
}

TEST_F(TdsLoad, FaceListSubChunksDoNotDisturbTheWalk)
{
    // Material and smoothing groups inside the face list, then the texture coordinates.
    const std::string mesh = TriangleMesh(
        Vertices(CubeVertices()) + Faces(CubeFaces(), MaterialGroup() + SmoothingGroups(12)) +
        Pairs(CubePairs()));
    ASSERT_TRUE(Load(Main(Editor(Object("cube", mesh)))));
    EXPECT_EQ(ExpectedFacts(CubeVertices(), CubeFaces(), CubePairs()), Facts());
}

TEST_F(TdsLoad, EverythingButTheTriangleMeshIsSkipped)
{
    // A mesh version, a material, a light object, a vertex flag list and local axes inside the
    // mesh, keyframer data and an unknown chunk after the editor.
    const std::string material = Chunk(0xAFFF, Chunk(0xA000, std::string("red") + '\0'));
    const std::string mesh = TriangleMesh(
        Vertices(CubeVertices()) + Chunk(0x4111, U16(8) + std::string(16, '\0')) +
        Pairs(CubePairs()) + Chunk(0x4160, std::string(48, '\0')) + Faces(CubeFaces()));
    const std::string file =
        Main(Editor(MeshVersion() + material + Object("lamp", Light()) + Object("cube", mesh) +
                    Chunk(0x0100, F32(1.0f))) +
             Keyframer(Chunk(0xB002, std::string(20, 'k'))) + Chunk(0x1234, "unknown"));
    ASSERT_TRUE(Load(file));
    EXPECT_EQ(ExpectedFacts(CubeVertices(), CubeFaces(), CubePairs()), Facts());
}

TEST_F(TdsLoad, TheLastTriangleMeshOfTheFileWins)
{
    const std::vector<Vertex> triangle = {{{5, 6, 7}}, {{8, 9, 10}}, {{11, 12, 13.5f}}};
    const std::vector<Face> one = {{{2, 1, 0}}};
    const std::string second = TriangleMesh(Vertices(triangle) + Faces(one));
    // In one editor chunk, with an object between them that has no mesh; and in two editor
    // chunks.
    for (const std::string& file :
         {Main(Editor(Object("cube", CubeMesh()) + Object("cam", Camera()) +
                      Object("triangle", second))),
          Main(Editor(Object("cube", CubeMesh())) + Editor(Object("triangle", second)))})
    {
        Empty(Mesh());
        ASSERT_TRUE(Load(file));
        EXPECT_EQ(ExpectedFacts(triangle, one, {}), Facts());
    }
}

TEST_F(TdsLoad, ObjectsThatStartWithALightOrACameraContributeNothing)
{
    for (const std::string& first : {Light(), Camera()})
    {
        // Alone: nothing is filled. After a cube: the cube stays. A triangle mesh later in the
        // same object is not read either.
        Empty(Mesh());
        ASSERT_TRUE(Load(Main(Editor(Object("other", first + CubeMesh())))));
        EXPECT_EQ(MeshFacts{}, Facts());
        ASSERT_TRUE(
            Load(Main(Editor(Object("cube", CubeMesh()) + Object("other", first + CubeMesh())))));
        EXPECT_EQ(ExpectedFacts(CubeVertices(), CubeFaces(), CubePairs()), Facts());
    }
}

TEST_F(TdsLoad, FilesThatDoNotStartWithAMainChunkAreRefusedAndChangeNothing)
{
    ASSERT_TRUE(Load(CubeFile()));
    const MeshFacts cube = Facts();
    const float normal = Mesh().GetVertex(0).nx;
    const std::string body = Editor(Object("other", TriangleMesh(Vertices({{{1, 2, 3}}}))));
    struct Case
    {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty file", ""},
        {"shorter than a header", std::string("\x4D\x4D\x06\x00\x00", 5)},
        {"editor chunk first", Editor(body)},
        {"another identifier", Chunk(0x4D4C, body)},
        {"an image file", std::string("\0\0\2\0\0\0\0\0\0\0\0\0\1\0\1\0\x18\0\xFF\xFF\xFF", 21)},
    };
    for (const Case& c : cases)
    {
        EXPECT_FALSE(Load(c.bytes)) << c.what;
        EXPECT_EQ(cube, Facts()) << c.what;
        EXPECT_EQ(normal, Mesh().GetVertex(0).nx) << c.what;
    }
    QVSGMesh& mesh = Mesh();
    EXPECT_FALSE(m_loader.Load(&mesh.GetLoaders(), "loaders-test-missing.3ds"));
    EXPECT_EQ(cube, Facts());
}

TEST_F(TdsLoad, FilesWithoutAMeshLoadAndLeaveTheMeshAsItWas)
{
    ASSERT_TRUE(Load(CubeFile()));
    const MeshFacts cube = Facts();
    for (const std::string& file :
         {Main(""), Main(Editor("")), Main(Editor(MeshVersion() + Object("lamp", Light()))),
          Main(Keyframer(Chunk(0xB002, "")))})
    {
        EXPECT_TRUE(Load(file));
        EXPECT_EQ(cube, Facts());
        EXPECT_TRUE(NormalsAreSound(Mesh()));
    }
}
