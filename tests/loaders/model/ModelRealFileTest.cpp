// The real model loader module, as a mesh's module collection finds it beside the test program,
// on glTF and OBJ files made by other programs (the sample folder beside the project; skipped
// when absent). Each is checked against an independent reading of the files: a Python script
// (model_reference.py) run at build time, with Python's json for the glTF accessors and a count
// of the OBJ's lines.
#include "loaders/QVLoaderModule.h"
#include "scene/QVSGMesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace
{
std::string SampleFolder()
{
    const char* chosen = std::getenv("QV_SAMPLE_DATA_DIR");
    return std::string(chosen != nullptr && *chosen != '\0' ? chosen : QV_SAMPLE_DATA_DIR) + "/";
}

bool Readable(const char* path)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file != nullptr)
        std::fclose(file);
    return file != nullptr;
}

TEST(ModelRealFiles, EveryFileAgreesWithTheIndependentReading)
{
    std::ifstream table(QV_MODEL_REFERENCE);
    std::string line;
    int files = 0;
    while (std::getline(table, line))
    {
        std::istringstream words(line);
        std::string name;
        int triangles, vertices, textured;
        double box[6];
        words >> name >> triangles >> vertices >> textured >> box[0] >> box[1] >> box[2] >>
            box[3] >> box[4] >> box[5];
        SCOPED_TRACE(name);
        ++files;
        QVSGMesh mesh;
        const QVString file((SampleFolder() + name).c_str());
        QVModCollection& loaders = mesh.GetLoaders();
        bool loaded = false;
        for (unsigned i = 0; i < loaders.GetCount() && !loaded; ++i)
        {
            QVLoaderModule* loader = static_cast<QVLoaderModule*>(loaders.GetAt(i));
            loaded = loader->CanLoad(file) && loader->Load(&loaders, file);
        }
        ASSERT_TRUE(loaded);
        EXPECT_EQ(mesh.GetIndexCount(), 3 * triangles);
        if (vertices >= 0)
        {
            EXPECT_EQ(mesh.GetVertexCount(), vertices);
        }
        // Inside the box the accessors' bounds give (placed by the nodes), and filling most of it.
        const double diagonal = std::hypot(box[3] - box[0], box[4] - box[1], box[5] - box[2]);
        double low[3] = {1e300, 1e300, 1e300}, high[3] = {-1e300, -1e300, -1e300};
        int zeroNormals = 0;
        for (int v = 0; v < mesh.GetVertexCount(); ++v)
        {
            const QVVertex& vertex = mesh.GetVertex(v);
            for (int a = 0; a < 3; ++a)
            {
                low[a] = std::min(low[a], vertex.GetPosition(a));
                high[a] = std::max(high[a], vertex.GetPosition(a));
                EXPECT_GE(vertex.GetPosition(a), box[a] - 1e-5 * diagonal);
                EXPECT_LE(vertex.GetPosition(a), box[3 + a] + 1e-5 * diagonal);
            }
            // Unit normals, or none where every triangle of the vertex has no direction (the
            // spider has such triangles, all three corners at one point).
            const double length = std::hypot(vertex.nx, vertex.ny, vertex.nz);
            if (length != 0.0)
            {
                EXPECT_NEAR(length, 1.0, 1e-4) << "normal of vertex " << v;
            }
            zeroNormals += length == 0.0 ? 1 : 0;
        }
        EXPECT_LT(zeroNormals, mesh.GetVertexCount() / 20 + 1);
        EXPECT_GT(std::hypot(high[0] - low[0], high[1] - low[1], high[2] - low[2]), diagonal / 2);
        // Every textured group names a file that is there to read.
        int named = 0;
        for (int g = 0; g < mesh.GetSubObjects().GetSize(); ++g)
        {
            const QVString& texture = mesh.GetSubObjects()[g].name;
            if (texture.GetLength() > 0)
            {
                ++named;
                EXPECT_TRUE(Readable(texture.GetBuffer())) << texture.GetBuffer();
            }
        }
        EXPECT_EQ(named, textured);
    }
    if (files == 0)
        GTEST_SKIP() << "no sample models in " << SampleFolder();
}
}  // namespace
