#pragma once

#include "core/object/QVObject.h"

#include <cstdint>

// Rows x columns matrix of doubles, stored as a table of row pointers with one block per row so
// that element [r][c] reads GetRows()[r][c]. Like vectors, it lives on the runtime heap.
class QVMatrix : public QVObject
{
public:
    // All elements 0. Note the order: columns first.
    QVMatrix(unsigned columns, unsigned rows);
    QVMatrix(const QVMatrix& other);
    ~QVMatrix();

    // Copies every element. Throws QVException ("QVMatrix", "operator=", "Invalid dim") when
    // the columns or the rows differ.
    QVMatrix& operator=(const QVMatrix& m);

    // True when columns equal rows and n is 0 or that size.
    bool IsSquare(unsigned n = 0) const;

    // The row table, owned by the matrix: element [r][c] is row r, column c.
    double** GetRows() { return m_rows; }
    const double* const* GetRows() const { return m_rows; }

    unsigned GetColumnCount() const { return m_columns; }
    unsigned GetRowCount() const { return m_rowCount; }

    // Every element 0.
    void Zero();
    // 1 on the diagonal, 0 elsewhere. Throws QVException ("QVMatrix", "SetIdentity",
    // "No square QVMatrix") when the matrix is not square.
    void SetIdentity();

    // A new array of 16 floats holding the top-left 4 x 4 block, element [r][c] at 4r + c, as
    // fixed-function GL loads it. The caller owns it and releases it with delete[]. Elements
    // outside a smaller matrix read 0.
    float* ToFloat4x4() const;

private:
    std::uint32_t m_columns;
    std::uint32_t m_rowCount;
    double** m_rows;
};
