#pragma once
// The arithmetic of the 3D interface's matrices, one copy for the game's math and for both
// devices, so that they transform and light by the same numbers by construction. Products
// are summed in double and rounded once, which keeps long chains of them steady.

#include "platform/interfaces/D3D8Types.h"

#include <cmath>

// Row-vector product: a point times the result is the point times `first`, then `second`.
inline D3DMATRIX MultiplyMatrices(const D3DMATRIX& first, const D3DMATRIX& second) {
    D3DMATRIX product{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += static_cast<double>(first.m[i][k]) * second.m[k][j];
            }
            product.m[i][j] = static_cast<float>(sum);
        }
    }
    return product;
}

// The matrix that carries normals: the inverse transpose of the upper 3 x 3 of `m` (its
// cofactor matrix over its determinant), with 1 at _44 and 0 elsewhere outside the block. A
// matrix that flattens an axis (determinant 0) keeps the cofactors: they still point the
// right way, and normalising gives them their length back.
inline D3DMATRIX NormalMatrixOf(const D3DMATRIX& m) {
    double cofactors[3][3];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const int i1 = (i + 1) % 3, i2 = (i + 2) % 3;
            const int j1 = (j + 1) % 3, j2 = (j + 2) % 3;
            cofactors[i][j] = static_cast<double>(m.m[i1][j1]) * m.m[i2][j2] -
                              static_cast<double>(m.m[i1][j2]) * m.m[i2][j1];
        }
    }
    const double determinant =
        m.m[0][0] * cofactors[0][0] + m.m[0][1] * cofactors[0][1] + m.m[0][2] * cofactors[0][2];
    constexpr double SingularDeterminant = 1e-12;
    const double scale = std::fabs(determinant) > SingularDeterminant ? 1.0 / determinant : 1.0;
    D3DMATRIX normal{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            normal.m[i][j] = static_cast<float>(cofactors[i][j] * scale);
        }
    }
    normal._44 = 1.0f;
    return normal;
}
