// The loader on 3D Studio files made by other programs (the sample folder beside the project;
// skipped when it is absent), checked against the test's own reading of their chunks, and the
// real module as a mesh's module collection finds it beside the test program.
#include "loaders/QVLoaderModule.h"
#include "tests/loaders/3ds/TdsReferenceReader.h"
#include "tests/loaders/3ds/TdsTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
std::string SampleFolder()
{
    const char* chosen = std::getenv("QV_SAMPLE_DATA_DIR");
    return std::string(chosen != nullptr && *chosen != '\0' ? chosen : QV_SAMPLE_DATA_DIR) +
           "/3ds/";
}

// What the sample files hold in their last mesh object (the lists' counts of its chunks).
struct SampleFile
{
    const char* name;
    int vertices;
    int faces;
    bool hasPairs;
};

const SampleFile kSamples[] = {
    {"fels.3ds", 386, 768, false},
    {"testFormatDetection", 762, 1368, false},
    {"test1.3ds", 32, 12, true},
    {"cubes_with_alpha.3DS", 26, 12, true},
    {"cube_with_diffuse_texture.3DS", 32, 12, true},
    {"CameraRollAnimWithChildObject.3ds", 26, 12, true},
    {"RotatingCube.3DS", 26, 12, true},
    {"TargetCameraAnim.3ds", 26, 12, true},
};

// The facts the test's own reader finds in a file.
MeshFacts ReferenceFacts(const tdsref::Lists& lists)
{
    return ExpectedFacts(lists.vertices, lists.faces, lists.pairs);
}

QVLoaderModule* CollectedTdsLoader(QVSGMesh& mesh)
{
    QVModCollection& loaders = mesh.GetLoaders();
    for (unsigned i = 0; i < loaders.GetCount(); ++i)
    {
        QVModule* module = loaders.GetAt(i);
        if (Narrow(module->GetName()) == "Quarvo 3ds file loader")
        {
            return static_cast<QVLoaderModule*>(module);
        }
    }
    return nullptr;
}
}  // namespace

TEST(TdsSampleFiles, MatchTheirChunksAsReadIndependently)
{
    QV3dsLoader loader;
    QVSGMesh mesh;
    int found = 0;
    for (const SampleFile& sample : kSamples)
    {
        const std::string path = SampleFolder() + sample.name;
        const tdsref::Reader reference(path);
        if (reference.Empty())
        {
            continue;
        }
        ++found;
        const tdsref::Lists lists = reference.LastMesh();
        ASSERT_EQ(sample.vertices, static_cast<int>(lists.vertices.size())) << sample.name;
        ASSERT_EQ(sample.faces, static_cast<int>(lists.faces.size())) << sample.name;
        ASSERT_EQ(sample.hasPairs, !lists.pairs.empty()) << sample.name;

        Empty(mesh);
        ASSERT_TRUE(loader.Load(&mesh.GetLoaders(), path.c_str())) << sample.name;
        EXPECT_EQ(sample.vertices, mesh.GetVertexCount()) << sample.name;
        EXPECT_EQ(3 * sample.faces, mesh.GetIndexCount()) << sample.name;
        ASSERT_EQ(1, mesh.GetFaceGroupCount()) << sample.name;
        EXPECT_EQ(3 * sample.faces, mesh.GetFaceGroup(0).GetIndexCount()) << sample.name;
        EXPECT_EQ(ReferenceFacts(lists), FactsOf(mesh)) << sample.name;
        EXPECT_TRUE(NormalsAreSound(mesh)) << sample.name;
    }
    if (found == 0)
    {
        GTEST_SKIP() << "no sample files in " << SampleFolder();
    }
}

TEST(TdsLoaderThroughAMesh, TheMeshCollectsTheModuleWhichFillsIt)
{
    QVSGMesh mesh;
    QVLoaderModule* loader = CollectedTdsLoader(mesh);
    ASSERT_NE(nullptr, loader) << "qv3dsloader.qvm not found beside the test program";
    EXPECT_NE(nullptr, *loader->GetLibraryHandle());  // the library's object, not the test's
    EXPECT_EQ("Object Loader", Narrow(loader->GetType()));
    EXPECT_EQ("3D Studio", Narrow(loader->GetDescription()));

    // A host hands the file to the collected loaders that accept its name.
    ScratchFile file("collected.3DS", tdsfile::CubeFile());
    ASSERT_TRUE(loader->CanLoad(file.Text()));
    ASSERT_TRUE(loader->Load(&mesh.GetLoaders(), file.Text()));
    EXPECT_EQ(ExpectedFacts(tdsfile::CubeVertices(), tdsfile::CubeFaces(), tdsfile::CubePairs()),
              FactsOf(mesh));
    EXPECT_TRUE(NormalsAreSound(mesh));
    EXPECT_FALSE(loader->Save(&mesh.GetLoaders(), file.Text()));

    // The same module on a sample file, when there is one.
    const std::string path = SampleFolder() + "fels.3ds";
    if (!tdsref::Reader(path).Empty())
    {
        Empty(mesh);
        ASSERT_TRUE(loader->Load(&mesh.GetLoaders(), path.c_str()));
        EXPECT_EQ(ReferenceFacts(tdsref::Reader(path).LastMesh()), FactsOf(mesh));
    }
}
