#pragma once
// Vector and matrix operations in the conventions of the 3D interface: row vectors, a point
// is (x, y, z, 1) times the matrix, translation in the fourth row, left-handed view. Pure
// functions on caller-owned values; nothing here allocates or touches a device.

#include "core/Types.h"

#include <cstdint>

extern const TMatrix IdentityMatrix;
extern const TMatrix ZeroMatrix;

TVector MakeVector(float x, float y, float z);
TVector VectorAdd(const TVector& a, const TVector& b);
TVector VectorSubtract(const TVector& a, const TVector& b);
TVector VectorScale(const TVector& v, float s);
TVector VectorDivide(const TVector& v, float s); // callers guarantee s != 0
float VectorLength(const TVector& v);
float VectorDot(const TVector& a, const TVector& b);
TVector VectorCross(const TVector& a, const TVector& b);

TMatrix TranslationMatrix(const TVector& t);
TMatrix ScalingMatrix(const TVector& s);
TMatrix RotationXMatrix(float angle);
TMatrix RotationYMatrix(float angle);
TMatrix RotationZMatrix(float angle);

// second x first: with row vectors the result applies `second` before `first`.
TMatrix MatrixMultiply(const TMatrix& first, const TMatrix& second);

// Scale, then turn about z, y and x, then move to position.
TMatrix ComposeObjectMatrix(const TVector& scale, const TVector& position, const TVector& rotation);

// Left-handed look-at camera; E_INVALIDARG (output untouched) for a degenerate eye or up.
HRESULT BuildViewMatrix(const TVector& eye, const TVector& at, const TVector& up, TMatrix& view);
// Depth 0 at the near plane, 1 at the far plane; the aspect multiplies the width factor.
HRESULT BuildProjectionMatrix(float fov, float aspect, float nearPlane, float farPlane,
                              TMatrix& projection);

TMaterial InitMaterial(float r, float g, float b, float a, float power);

constexpr std::uint32_t PackColor(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return (static_cast<std::uint32_t>(a) << 24) | (static_cast<std::uint32_t>(r) << 16) |
           (static_cast<std::uint32_t>(g) << 8) | b;
}
constexpr std::uint32_t PackOpaqueColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return PackColor(255, r, g, b);
}
