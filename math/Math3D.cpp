#include "math/Math3D.h"

#include "platform/interfaces/D3DMatrix.h"

#include <cmath>

namespace {
constexpr float DegenerateLength = 1e-6f;

TMatrix MakeIdentity() {
    TMatrix m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}
} // namespace

const TMatrix IdentityMatrix = MakeIdentity();
const TMatrix ZeroMatrix{};

TVector MakeVector(float x, float y, float z) {
    return TVector{x, y, z};
}

TVector VectorAdd(const TVector& a, const TVector& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

TVector VectorSubtract(const TVector& a, const TVector& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

TVector VectorScale(const TVector& v, float s) {
    return {v.x * s, v.y * s, v.z * s};
}

TVector VectorDivide(const TVector& v, float s) {
    return {v.x / s, v.y / s, v.z / s};
}

float VectorLength(const TVector& v) {
    const double x = v.x, y = v.y, z = v.z;
    return static_cast<float>(std::sqrt(x * x + y * y + z * z));
}

float VectorDot(const TVector& a, const TVector& b) {
    return static_cast<float>(double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z);
}

TVector VectorCross(const TVector& a, const TVector& b) {
    return {static_cast<float>(double(a.y) * b.z - double(a.z) * b.y),
            static_cast<float>(double(a.z) * b.x - double(a.x) * b.z),
            static_cast<float>(double(a.x) * b.y - double(a.y) * b.x)};
}

TMatrix TranslationMatrix(const TVector& t) {
    TMatrix m = IdentityMatrix;
    m._41 = t.x;
    m._42 = t.y;
    m._43 = t.z;
    return m;
}

TMatrix ScalingMatrix(const TVector& s) {
    TMatrix m = IdentityMatrix;
    m._11 = s.x;
    m._22 = s.y;
    m._33 = s.z;
    return m;
}

TMatrix RotationXMatrix(float angle) {
    TMatrix m = IdentityMatrix;
    const auto c = static_cast<float>(std::cos(double(angle)));
    const auto s = static_cast<float>(std::sin(double(angle)));
    m._22 = c;
    m._23 = s;
    m._32 = -s;
    m._33 = c;
    return m;
}

TMatrix RotationYMatrix(float angle) {
    TMatrix m = IdentityMatrix;
    const auto c = static_cast<float>(std::cos(double(angle)));
    const auto s = static_cast<float>(std::sin(double(angle)));
    m._11 = c;
    m._13 = -s;
    m._31 = s;
    m._33 = c;
    return m;
}

TMatrix RotationZMatrix(float angle) {
    TMatrix m = IdentityMatrix;
    const auto c = static_cast<float>(std::cos(double(angle)));
    const auto s = static_cast<float>(std::sin(double(angle)));
    m._11 = c;
    m._12 = s;
    m._21 = -s;
    m._22 = c;
    return m;
}

TMatrix MatrixMultiply(const TMatrix& first, const TMatrix& second) {
    return MultiplyMatrices(second, first);
}

TMatrix ComposeObjectMatrix(const TVector& scale, const TVector& position,
                            const TVector& rotation) {
    TMatrix m = RotationXMatrix(rotation.x);
    m = MatrixMultiply(m, RotationYMatrix(rotation.y));
    m = MatrixMultiply(m, RotationZMatrix(rotation.z));
    m = MatrixMultiply(TranslationMatrix(position), m);
    m = MatrixMultiply(m, ScalingMatrix(scale));
    return m;
}

HRESULT BuildViewMatrix(const TVector& eye, const TVector& at, const TVector& up, TMatrix& view) {
    TVector forward = VectorSubtract(at, eye);
    const float length = VectorLength(forward);
    if (length < DegenerateLength) {
        return E_INVALIDARG;
    }
    forward = VectorDivide(forward, length);

    TVector upward = VectorSubtract(up, VectorScale(forward, VectorDot(up, forward)));
    if (VectorLength(upward) < DegenerateLength) {
        // Looking straight along up (the Top view): fall back to +y, then +z.
        upward = VectorSubtract(MakeVector(0, 1, 0), VectorScale(forward, forward.y));
        if (VectorLength(upward) < DegenerateLength) {
            upward = VectorSubtract(MakeVector(0, 0, 1), VectorScale(forward, forward.z));
            if (VectorLength(upward) < DegenerateLength) {
                return E_INVALIDARG;
            }
        }
    }
    upward = VectorDivide(upward, VectorLength(upward));
    const TVector right = VectorCross(upward, forward);

    view = TMatrix{};
    view._11 = right.x;
    view._12 = upward.x;
    view._13 = forward.x;
    view._21 = right.y;
    view._22 = upward.y;
    view._23 = forward.y;
    view._31 = right.z;
    view._32 = upward.z;
    view._33 = forward.z;
    view._41 = -VectorDot(eye, right);
    view._42 = -VectorDot(eye, upward);
    view._43 = -VectorDot(eye, forward);
    view._44 = 1.0f;
    return D3D_OK;
}

HRESULT BuildProjectionMatrix(float fov, float aspect, float nearPlane, float farPlane,
                              TMatrix& projection) {
    if (std::fabs(double(farPlane) - nearPlane) < 0.01) {
        return E_INVALIDARG;
    }
    const double halfSin = std::sin(double(fov) / 2.0);
    if (std::fabs(halfSin) < 0.01) {
        return E_INVALIDARG;
    }
    const double h = std::cos(double(fov) / 2.0) / halfSin;
    const double w = aspect * h;
    const double q = double(farPlane) / (double(farPlane) - nearPlane);
    projection = ZeroMatrix;
    projection._11 = static_cast<float>(w);
    projection._22 = static_cast<float>(h);
    projection._33 = static_cast<float>(q);
    projection._34 = 1.0f;
    projection._43 = static_cast<float>(-q * nearPlane);
    return D3D_OK;
}

TMaterial InitMaterial(float r, float g, float b, float a, float power) {
    TMaterial material{};
    material.Diffuse = {r, g, b, a};
    material.Ambient = {r, g, b, a};
    material.Specular = {1.0f, 1.0f, 1.0f, 1.0f};
    material.Power = power;
    return material;
}
