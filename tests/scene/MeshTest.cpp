#include "scene/QVSGBox.h"
#include "scene/QVSGMaterial.h"
#include "scene/QVSGMesh.h"
#include "scene/QVSGSphere.h"
#include "scene/QVSGWorld.h"
#include "tests/core/QVTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace
{
void ZeroNormals(QVSGMesh& mesh)
{
    for (int i = 0; i < mesh.GetVertexCount(); ++i)
    {
        mesh.GetVertex(i).SetNormal(0.0f, 0.0f, 0.0f);
    }
}

// A mesh of the given positions and indices in one group.
void Fill(QVSGMesh& mesh, std::initializer_list<std::initializer_list<double>> positions,
          std::initializer_list<std::int32_t> indices)
{
    mesh.ResizeVertices(static_cast<int>(positions.size()));
    int i = 0;
    for (const auto& p : positions)
    {
        const double* c = p.begin();
        mesh.GetVertex(i++).SetPosition(c[0], c[1], c[2]);
    }
    mesh.ResizeIndices(static_cast<int>(indices.size()));
    i = 0;
    for (std::int32_t index : indices)
    {
        mesh.GetIndex(i++) = index;
    }
    mesh.SetMaterial(nullptr, 0, false);
}

void ExpectNormal(float x, float y, float z, const QVVertex& v)
{
    EXPECT_FLOAT_EQ(x, v.nx);
    EXPECT_FLOAT_EQ(y, v.ny);
    EXPECT_FLOAT_EQ(z, v.nz);
}

bool Finite(const QVVertex& v)
{
    return std::isfinite(v.nx) && std::isfinite(v.ny) && std::isfinite(v.nz);
}
}  // namespace

// --- records ---

TEST(MeshRecordTest, FaceGroupResizesReplaceItsPrivateArrays)
{
    QVFaceGroup group;
    ASSERT_TRUE(group.ResizeVertices(3));
    group.GetVertices()[2].SetPosition(1, 2, 3);
    ASSERT_TRUE(group.ResizeVertices(2));
    EXPECT_EQ(2, group.GetVertexCount());
    EXPECT_EQ(0.0, group.GetVertices()[1].x);  // fresh, zeroed elements
    ASSERT_TRUE(group.ResizeIndices(6));
    EXPECT_EQ(6, group.GetIndexCount());
    ASSERT_TRUE(group.ResizeIndices(0));
    EXPECT_EQ(nullptr, group.GetIndices());
    EXPECT_EQ(0, group.GetIndexCount());
    ASSERT_TRUE(group.ResizeTriangles(0));
    EXPECT_EQ(nullptr, group.GetTriangles());
}

// --- sphere ---

TEST(SphereTest, TenSegmentsCounts)
{
    QVSGSphere sphere(2.0, 10);
    ASSERT_TRUE(sphere.BuildSphere());
    EXPECT_EQ(231, sphere.GetVertexCount());
    EXPECT_EQ(1200, sphere.GetIndexCount());
    ASSERT_EQ(1, sphere.GetFaceGroupCount());
    QVFaceGroup& group = sphere.GetFaceGroup(0);
    EXPECT_EQ(0, group.GetFirstIndex());
    EXPECT_EQ(1200, group.GetIndexCount());
    EXPECT_EQ(231, group.GetVertexCount());
    EXPECT_EQ(400, group.GetTriangleCount());
    EXPECT_EQ(nullptr, group.GetIndices());
    EXPECT_EQ(2.0, sphere.GetSize());
}

TEST(SphereTest, VerticesLieOnTheSphereWithUnitNormalsAndHalfRangeUV)
{
    QVSGSphere sphere(2.0, 6);
    ASSERT_TRUE(sphere.BuildSphere());
    QVFaceGroup& group = sphere.GetFaceGroup(0);
    for (int k = 0; k < sphere.GetVertexCount(); ++k)
    {
        const QVVertex& v = sphere.GetVertex(k);
        EXPECT_NEAR(2.0, std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 1e-5) << k;
        EXPECT_FLOAT_EQ(static_cast<float>(v.x), static_cast<float>(2.0 * v.nx)) << k;
        EXPECT_EQ(v.x, group.GetVertices()[k].x);
        EXPECT_EQ(v.v, group.GetVertices()[k].v);
        EXPECT_LE(v.u, 0.5f);
        EXPECT_LE(v.v, 0.5f);
    }
    // Row 0 is the south pole, the last row the north pole; positions are single precision.
    EXPECT_NEAR(-2.0, sphere.GetVertex(0).y, 1e-6);
    EXPECT_NEAR(2.0, sphere.GetVertex(sphere.GetVertexCount() - 1).y, 1e-6);
    const QVVertex& last = sphere.GetVertex(sphere.GetVertexCount() - 1);
    EXPECT_EQ(0.5f, last.u);
    EXPECT_EQ(0.5f, last.v);
    EXPECT_EQ(static_cast<double>(static_cast<float>(last.y)), last.y);
}

TEST(SphereTest, IndexAndPrivateTriangleOrderOfTheFirstColumn)
{
    QVSGSphere sphere(1.0, 3);
    ASSERT_TRUE(sphere.BuildSphere());
    // b = 0, j = 0, 2N = 6: (0, 1, 7) and (7, 1, 8).
    const std::int32_t expected[6] = {0, 1, 7, 7, 1, 8};
    for (int i = 0; i < 6; ++i)
    {
        EXPECT_EQ(expected[i], sphere.GetIndex(i)) << i;
    }
    QVTriangle* triangles = sphere.GetFaceGroup(0).GetTriangles();
    EXPECT_EQ(7, triangles[1].GetNormal(0));
    EXPECT_EQ(8, triangles[1].GetNormal(2));
    EXPECT_EQ(0.0, triangles[1].GetPosition(0));
    // Second band, last column: b = 7, j = 5.
    EXPECT_EQ(7 + 5, sphere.GetIndex(6 * (6 + 5)));
}

TEST(SphereTest, WindingsFaceOutwardsUnderComputeNormals)
{
    QVSGSphere sphere(3.0, 8);
    ASSERT_TRUE(sphere.BuildSphere());
    ZeroNormals(sphere);
    sphere.ComputeNormals();
    int zero = 0;
    for (int k = 0; k < sphere.GetVertexCount(); ++k)
    {
        const QVVertex& v = sphere.GetVertex(k);
        if (v.nx == 0.0f && v.ny == 0.0f && v.nz == 0.0f)
        {
            // The rows at the poles are rings narrower than single precision: their triangles
            // are slivers without a direction. Two corner vertices touch nothing else.
            EXPECT_NEAR(3.0, std::fabs(v.y), 1e-6) << "vertex " << k;
            ++zero;
            continue;
        }
        const double radial = (v.x * v.nx + v.y * v.ny + v.z * v.nz) / 3.0;
        EXPECT_GT(radial, 0.95) << "vertex " << k;
    }
    EXPECT_EQ(2, zero);
}

TEST(SphereTest, SegmentCountBelowTwoBecomesTwo)
{
    QVSGSphere sphere(1.0, 0);
    EXPECT_EQ(2, sphere.GetSegments());
    sphere.SetSegments(1);
    EXPECT_EQ(2, sphere.GetSegments());
    sphere.SetSegments(-7);
    EXPECT_EQ(2, sphere.GetSegments());
    sphere.SetSegments(5);
    EXPECT_EQ(5, sphere.GetSegments());
    sphere.SetRadius(4.5);
    EXPECT_EQ(4.5, sphere.GetSize());
}

// --- box ---

TEST(BoxTest, MaskTwentyFiveBuildsFloorLeftAndBackInThatOrder)
{
    QVSGBox box(0x25, 0);
    ASSERT_TRUE(box.BuildBox());
    ASSERT_EQ(3, box.GetFaceGroupCount());
    EXPECT_EQ(12, box.GetVertexCount());
    EXPECT_EQ(18, box.GetIndexCount());
    EXPECT_EQ(2.0, box.GetSize());
    ExpectNormal(0, -1, 0, box.GetVertex(0));  // floor
    ExpectNormal(-1, 0, 0, box.GetVertex(4));  // left wall
    ExpectNormal(0, 0, -1, box.GetVertex(8));  // back wall
    QVFaceGroup& back = box.GetFaceGroup(2);
    EXPECT_EQ(12, back.GetFirstIndex());
    EXPECT_EQ(6, back.GetIndexCount());
    EXPECT_EQ(-1.0, box.GetVertex(8).z);
    EXPECT_EQ(-1.0, back.GetVertices()[3].x);
    EXPECT_EQ(-1.0, back.GetVertices()[3].y);
    // Corner texture coordinates (0, 1), (1, 1), (1, 0), (0, 0).
    EXPECT_EQ(0.0f, box.GetVertex(8).u);
    EXPECT_EQ(1.0f, box.GetVertex(8).v);
    EXPECT_EQ(1.0f, box.GetVertex(10).u);
    EXPECT_EQ(0.0f, box.GetVertex(10).v);
    // Shared indices are the private ones moved by 4g.
    for (int k = 0; k < 6; ++k)
    {
        EXPECT_EQ(back.GetIndices()[k] + 8, box.GetIndex(12 + k)) << k;
    }
}

TEST(BoxTest, BothWindingsAgreeWithTheirNormals)
{
    for (std::uint8_t insideOut : {std::uint8_t(0), std::uint8_t(1)})
    {
        QVSGBox box(0x3F, insideOut);
        ASSERT_TRUE(box.BuildBox());
        // Stored normals, then the normals that the windings give on their own.
        float stored[24][3];
        for (int k = 0; k < 24; ++k)
        {
            stored[k][0] = box.GetVertex(k).nx;
            stored[k][1] = box.GetVertex(k).ny;
            stored[k][2] = box.GetVertex(k).nz;
        }
        ZeroNormals(box);
        box.ComputeNormals();
        for (int k = 0; k < 24; ++k)
        {
            SCOPED_TRACE(testing::Message() << "inside out " << int(insideOut) << ", vertex " << k);
            ExpectNormal(stored[k][0], stored[k][1], stored[k][2], box.GetVertex(k));
        }
        // Outward normals point away from the centre, inward ones towards it.
        const QVVertex& v = box.GetVertex(0);
        const double away = v.x * v.nx + v.y * v.ny + v.z * v.nz;
        EXPECT_EQ(insideOut == 1, away < 0.0);
        const QVTriangle& t = box.GetFaceGroup(0).GetTriangles()[0];
        EXPECT_EQ(insideOut == 1 ? 1 : 2, t.GetNormal(1));
        EXPECT_EQ(static_cast<double>(v.ny), t.GetPosition(1));
    }
}

TEST(BoxTest, OnlyInsideOutOneTurnsTheBox)
{
    QVSGBox box(0x01, 2);
    ASSERT_TRUE(box.BuildBox());
    ExpectNormal(0, -1, 0, box.GetVertex(0));
}

TEST(BoxTest, EmptyMaskBuildsNothingAndKeepsTheSize)
{
    QVSGBox box(0, 0);
    box.SetSize(7.0);
    ASSERT_TRUE(box.BuildBox());
    EXPECT_EQ(0, box.GetFaceGroupCount());
    EXPECT_EQ(0, box.GetVertexCount());
    EXPECT_EQ(0, box.GetIndexCount());
    EXPECT_EQ(7.0, box.GetSize());
    box.SetFaceMask(0x40);  // no face bit
    ASSERT_TRUE(box.BuildBox());
    EXPECT_EQ(0, box.GetFaceGroupCount());
}

TEST(BoxTest, GroupAccessOutOfRangeThrows)
{
    QVSGBox box(0x03, 0);
    ASSERT_TRUE(box.BuildBox());
    EXPECT_QV_THROW(box.GetFaceGroup(2), "Exception in operator [] of QVArray:index out of bounds");
}

// --- the loader collection leads back to its mesh ---

TEST(MeshCollectionTest, ObjectLoadersFindTheMeshFromItsCollection)
{
    QVSGMesh mesh;
    QVSGSphere sphere(1.0, 4);
    QVSGBox box(0x3F, 0);
    EXPECT_EQ(&mesh, QVSGMesh::FromModCollection(&mesh.GetLoaders()));
    EXPECT_EQ(static_cast<QVSGMesh*>(&sphere), QVSGMesh::FromModCollection(&sphere.GetLoaders()));
    EXPECT_EQ(static_cast<QVSGMesh*>(&box), QVSGMesh::FromModCollection(&box.GetLoaders()));

    // Collections of other owners are never taken for a mesh.
    QVSGWorld world;
    EXPECT_EQ(nullptr, QVSGMesh::FromModCollection(&world.GetLoaders()));
    EXPECT_EQ(nullptr, QVSGMesh::FromModCollection(nullptr));
    mesh.GetLoaders().SetTag(0x4011);
    EXPECT_EQ(nullptr, QVSGMesh::FromModCollection(&mesh.GetLoaders()));
}

// --- materials ---

TEST(MeshMaterialTest, MeshWithoutGroupsGetsOneGroupOverEveryIndex)
{
    QVSGMesh mesh;
    QVSGMaterial material;
    mesh.ResizeIndices(9);
    EXPECT_TRUE(mesh.SetMaterial(&material, 42, false));
    ASSERT_EQ(1, mesh.GetFaceGroupCount());
    EXPECT_EQ(&material, mesh.GetFaceGroup(0).GetMaterial());
    EXPECT_EQ(0, mesh.GetFaceGroup(0).GetFirstIndex());
    EXPECT_EQ(9, mesh.GetFaceGroup(0).GetIndexCount());
}

TEST(MeshMaterialTest, GroupNumberOrAllWithinRange)
{
    QVSGBox box(0x07, 0);
    ASSERT_TRUE(box.BuildBox());
    QVSGMaterial red;
    QVSGMaterial blue;
    EXPECT_TRUE(box.SetMaterial(&red, 0, true));
    EXPECT_TRUE(box.SetMaterial(&blue, 2, false));
    EXPECT_EQ(&red, box.GetFaceGroup(0).GetMaterial());
    EXPECT_EQ(&red, box.GetFaceGroup(1).GetMaterial());
    EXPECT_EQ(&blue, box.GetFaceGroup(2).GetMaterial());
    EXPECT_FALSE(box.SetMaterial(&blue, 3, false));
    EXPECT_FALSE(box.SetMaterial(&blue, 3, true));
    EXPECT_FALSE(box.SetMaterial(&blue, -1, false));
    EXPECT_EQ(&red, box.GetFaceGroup(0).GetMaterial());
}

// --- normals of hostile geometry ---

TEST(ComputeNormalsTest, DegenerateTrianglesAddNothing)
{
    QVSGMesh mesh;
    // A good triangle in the z = 0 plane, then triangles sharing vertex 0 that have no
    // direction: two corners at one place (as another vertex, and as the same vertex twice), and
    // three corners on one line, and a sliver whose short edge is below single precision.
    Fill(mesh,
         {{0, 0, 0},
          {0, 1, 0},
          {1, 0, 0},
          {0, 1, 0},
          {2, 0, 0},
          {3, 0, 0},
          {1e-12, 0, 0},
          {0, 0, 1}},
         {0, 1, 2, 0, 1, 3, 0, 0, 1, 0, 4, 5, 0, 6, 7});
    mesh.ComputeNormals();
    for (int k = 0; k < mesh.GetVertexCount(); ++k)
    {
        EXPECT_TRUE(Finite(mesh.GetVertex(k))) << k;
    }
    ExpectNormal(0, 0, 1, mesh.GetVertex(0));  // (P2 - P0) x (P1 - P0) of the good one only
    ExpectNormal(0, 0, 1, mesh.GetVertex(1));
    ExpectNormal(0, 0, 0, mesh.GetVertex(3));
    ExpectNormal(0, 0, 0, mesh.GetVertex(4));  // used only by the collinear triangle
    ExpectNormal(0, 0, 0, mesh.GetVertex(5));
    ExpectNormal(0, 0, 0, mesh.GetVertex(6));  // used only by the sliver
    ExpectNormal(0, 0, 0, mesh.GetVertex(7));
}

TEST(ComputeNormalsTest, UnusedVertexKeepsItsDirectionAndZeroStaysZero)
{
    QVSGMesh mesh;
    Fill(mesh, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}}, {0, 2, 1});
    mesh.GetVertex(3).SetNormal(3.0f, 0.0f, 4.0f);
    mesh.ComputeNormals();
    ExpectNormal(0.6f, 0.0f, 0.8f, mesh.GetVertex(3));
    ExpectNormal(0, 0, 1, mesh.GetVertex(0));
    QVSGMesh lonely;
    lonely.ResizeVertices(1);
    lonely.ComputeNormals();
    ExpectNormal(0, 0, 0, lonely.GetVertex(0));
}

TEST(ComputeNormalsTest, IndicesAndRangesOutsideTheArraysAreSkipped)
{
    QVSGMesh mesh;
    Fill(mesh, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 2, 1, 0, 7, 1, -3, 1, 2});
    mesh.GetFaceGroup(0).SetIndexCount(30);  // claims more than the index array holds
    mesh.ComputeNormals();
    ExpectNormal(0, 0, 1, mesh.GetVertex(0));
    ExpectNormal(0, 0, 1, mesh.GetVertex(1));
    mesh.GetFaceGroup(0).SetFirstIndex(-6);
    mesh.ComputeNormals();  // must not read before the array either
    ExpectNormal(0, 0, 1, mesh.GetVertex(2));
}

TEST(ComputeNormalsTest, AccumulatesOnTopOfStoredNormals)
{
    QVSGMesh mesh;
    Fill(mesh, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 2, 1});
    mesh.GetVertex(0).SetNormal(1.0f, 0.0f, 0.0f);
    mesh.ComputeNormals();
    const float half = static_cast<float>(std::sqrt(0.5));
    ExpectNormal(half, 0.0f, half, mesh.GetVertex(0));
}
