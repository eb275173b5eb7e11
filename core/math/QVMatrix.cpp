#include "core/math/QVMatrix.h"

#include "core/object/QVException.h"

QVMatrix::QVMatrix(unsigned columns, unsigned rows)
    : QVObject(QV_CLASS_MATRIX), m_columns(columns), m_rowCount(rows), m_rows(new double*[rows])
{
    for (unsigned r = 0; r < m_rowCount; ++r)
    {
        m_rows[r] = new double[m_columns]();
    }
}

QVMatrix::QVMatrix(const QVMatrix& other)
    : QVObject(other), m_columns(other.m_columns), m_rowCount(other.m_rowCount),
      m_rows(new double*[other.m_rowCount])
{
    for (unsigned r = 0; r < m_rowCount; ++r)
    {
        m_rows[r] = new double[m_columns];
        for (unsigned c = 0; c < m_columns; ++c)
        {
            m_rows[r][c] = other.m_rows[r][c];
        }
    }
}

QVMatrix::~QVMatrix()
{
    for (unsigned r = 0; r < m_rowCount; ++r)
    {
        delete[] m_rows[r];
    }
    delete[] m_rows;
}

QVMatrix& QVMatrix::operator=(const QVMatrix& m)
{
    if (m.m_columns != m_columns || m.m_rowCount != m_rowCount)
    {
        throw QVException("QVMatrix", "operator=", "Invalid dim");
    }
    if (&m != this)
    {
        for (unsigned r = 0; r < m_rowCount; ++r)
        {
            for (unsigned c = 0; c < m_columns; ++c)
            {
                m_rows[r][c] = m.m_rows[r][c];
            }
        }
    }
    return *this;
}

bool QVMatrix::IsSquare(unsigned n) const
{
    return m_columns == m_rowCount && (n == 0 || n == m_columns);
}

void QVMatrix::Zero()
{
    for (unsigned r = 0; r < m_rowCount; ++r)
    {
        for (unsigned c = 0; c < m_columns; ++c)
        {
            m_rows[r][c] = 0.0;
        }
    }
}

void QVMatrix::SetIdentity()
{
    if (!IsSquare())
    {
        throw QVException("QVMatrix", "SetIdentity", "No square QVMatrix");
    }
    Zero();
    for (unsigned i = 0; i < m_rowCount; ++i)
    {
        m_rows[i][i] = 1.0;
    }
}

float* QVMatrix::ToFloat4x4() const
{
    float* out = new float[16];
    for (unsigned r = 0; r < 4; ++r)
    {
        for (unsigned c = 0; c < 4; ++c)
        {
            const bool inside = r < m_rowCount && c < m_columns;
            out[4 * r + c] = inside ? static_cast<float>(m_rows[r][c]) : 0.0f;
        }
    }
    return out;
}
