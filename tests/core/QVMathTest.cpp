#include "core/math/QVMatrix.h"
#include "core/math/QVVector.h"
#include "tests/core/QVTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

namespace
{
void ExpectComponents(const QVVector& v, std::initializer_list<double> expected)
{
    ASSERT_EQ(expected.size(), v.GetDimension());
    int i = 0;
    for (double e : expected)
    {
        EXPECT_DOUBLE_EQ(e, v[i]) << "component " << i;
        ++i;
    }
}

QVVector Pair(double a, double b)
{
    QVVector v(2u);
    v[0] = a;
    v[1] = b;
    return v;
}
}  // namespace

// --- valid ---

TEST(QVVectorTest, PointConstructorIsHomogeneous)
{
    const QVVector p(1, 2, 3);
    ExpectComponents(p, {1, 2, 3, 1});
    EXPECT_DOUBLE_EQ(std::sqrt(15.0), p.Length());
    EXPECT_EQ(QV_CLASS_VECTOR, p.GetClassId());
}

TEST(QVVectorTest, AssignmentKeepsTheTargetDimension)
{
    QVVector four(1, 1, 1);
    four = Pair(5, 6);
    ExpectComponents(four, {5, 6, 0, 0});
    QVVector two = Pair(0, 0);
    two = QVVector(7, 8, 9);
    ExpectComponents(two, {7, 8});
}

TEST(QVVectorTest, ElementWiseOperationsUseTheCommonPart)
{
    QVVector three(3u);
    three.Set(1, 2, 3);
    QVVector four(10, 20, 30);
    four += three;
    ExpectComponents(four, {11, 22, 33, 1});
    four -= Pair(1, 2);
    ExpectComponents(four, {10, 20, 33, 1});
    four *= 2;
    ExpectComponents(four, {20, 40, 66, 2});
}

TEST(QVVectorTest, SubtractResultKeepsItsDimension)
{
    const QVVector a(5, 5, 5);
    const QVVector b(1, 2, 3);
    QVVector result(3u);
    a.Subtract(result, b);
    ExpectComponents(result, {4, 3, 2});
    QVVector self(5, 5, 5);
    self.Subtract(self, b);  // result may be the vector itself
    ExpectComponents(self, {4, 3, 2, 0});
}

TEST(QVVectorTest, CrossAndDotProducts)
{
    const QVVector x(1, 0, 0);
    const QVVector y(0, 1, 0);
    QVVector z(3u);
    x.CrossProduct(z, y);
    ExpectComponents(z, {0, 0, 1});
    QVVector a(1, 2, 3);
    a.CrossProduct(a, QVVector(4, 5, 6));  // in place: all three read before any is written
    ExpectComponents(a, {-3, 6, -3, 1});
    EXPECT_DOUBLE_EQ(1 * 4 + 2 * 5 + 3 * 6 + 1, QVVector(1, 2, 3).DotProduct(QVVector(4, 5, 6)));
}

TEST(QVVectorTest, NormalizeReturnsTheFormerLength)
{
    QVVector v(3u);
    v.Set(3, 0, 4);
    EXPECT_DOUBLE_EQ(5.0, v.Normalize());
    ExpectComponents(v, {0.6, 0, 0.8});
    v.Negate();
    ExpectComponents(v, {-0.6, 0, -0.8});
}

TEST(QVMatrixTest, IdentityClearsEverythingElse)
{
    QVMatrix m(4, 4);
    EXPECT_EQ(QV_CLASS_MATRIX, m.GetClassId());
    m.GetRows()[1][2] = 7.5;
    m.SetIdentity();
    for (unsigned r = 0; r < 4; ++r)
    {
        for (unsigned c = 0; c < 4; ++c)
        {
            EXPECT_DOUBLE_EQ(r == c ? 1.0 : 0.0, m.GetRows()[r][c]) << r << "," << c;
        }
    }
}

TEST(QVMatrixTest, ExportIsRowByRow)
{
    QVMatrix m(4, 4);
    m.GetRows()[1][3] = 2.5;  // row 1, column 3
    float* out = m.ToFloat4x4();
    EXPECT_FLOAT_EQ(2.5f, out[4 * 1 + 3]);
    EXPECT_FLOAT_EQ(0.0f, out[4 * 3 + 1]);
    delete[] out;
}

TEST(QVMatrixTest, CopyAndAssignmentCopyEveryElement)
{
    QVMatrix m(2, 3);  // two columns, three rows
    EXPECT_EQ(2u, m.GetColumnCount());
    EXPECT_EQ(3u, m.GetRowCount());
    m.GetRows()[2][1] = 4;
    QVMatrix copy(m);
    EXPECT_DOUBLE_EQ(4, copy.GetRows()[2][1]);
    copy.GetRows()[0][0] = 9;
    m = copy;
    EXPECT_DOUBLE_EQ(9, m.GetRows()[0][0]);
    EXPECT_NE(m.GetRows()[0], copy.GetRows()[0]);
}

// --- boundary ---

TEST(QVMatrixTest, IsSquareChecksTheSizeWhenGiven)
{
    const QVMatrix m(4, 4);
    EXPECT_TRUE(m.IsSquare(0));
    EXPECT_TRUE(m.IsSquare(4));
    EXPECT_FALSE(m.IsSquare(3));
    EXPECT_FALSE(QVMatrix(3, 4).IsSquare(0));
}

TEST(QVMatrixTest, SmallMatrixExportsZerosOutside)
{
    QVMatrix m(2, 2);
    m.SetIdentity();
    float* out = m.ToFloat4x4();
    EXPECT_FLOAT_EQ(1.0f, out[5]);
    EXPECT_FLOAT_EQ(0.0f, out[10]);
    delete[] out;
}

// --- empty ---

TEST(QVVectorTest, ZeroVectorStaysZeroWhenNormalized)
{
    QVVector v(3u);
    EXPECT_DOUBLE_EQ(0.0, v.Normalize());
    ExpectComponents(v, {0, 0, 0});
    QVVector none;
    EXPECT_EQ(0u, none.GetDimension());
    EXPECT_DOUBLE_EQ(0.0, none.Length());
}

// --- invalid ---

TEST(QVVectorTest, DimensionErrorsThrow)
{
    QVVector two(2u);
    QVVector three(3u);
    EXPECT_QV_THROW(two.Set(1, 2, 3), "Exception in Set of QVVector:Invalid dim");
    EXPECT_QV_THROW(three.Set(1, 2, 3, 4), "Exception in Set of QVVector:Invalid dim");
    EXPECT_QV_THROW(three.DotProduct(QVVector(1, 2, 3)),
                    "Exception in DotProduct of QVVector:Dim doesn't match");
    QVVector unchanged(3u);
    unchanged.CrossProduct(two, three);  // too short a result: nothing happens
    ExpectComponents(two, {0, 0});
}

TEST(QVMatrixTest, DimensionErrorsThrow)
{
    QVMatrix wide(4, 3);
    EXPECT_QV_THROW(wide.SetIdentity(), "Exception in SetIdentity of QVMatrix:No square QVMatrix");
    QVMatrix square(3, 3);
    EXPECT_QV_THROW(square = wide, "Exception in operator= of QVMatrix:Invalid dim");
}
