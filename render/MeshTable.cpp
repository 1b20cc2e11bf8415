#include "render/MeshTable.h"

#include "math/Math3D.h"

namespace {
TVector Normalised(const TVector& v) {
    return VectorDivide(v, VectorLength(v));
}
} // namespace

std::int32_t TMeshBuilder::AddVertex(const TVector& position) {
    Table.Vertices.push_back(position);
    return static_cast<std::int32_t>(Table.Vertices.size() - 1);
}

std::int32_t TMeshBuilder::Normal(TKey key, const TVector& normal) {
    const auto [entry, added] =
        NormalKeys.try_emplace(key, static_cast<std::int32_t>(Table.Normals.size()));
    if (added) {
        Table.Normals.push_back(Normalised(normal));
    }
    return entry->second;
}

std::int32_t TMeshBuilder::TexCoord(TKey key, TTexCoord coordinate) {
    const auto [entry, added] =
        TexCoordKeys.try_emplace(key, static_cast<std::int32_t>(Table.TexCoords.size()));
    if (added) {
        Table.TexCoords.push_back(coordinate);
    }
    return entry->second;
}

void TMeshBuilder::AddFace(const TMeshCorner& a, const TMeshCorner& b, const TMeshCorner& c) {
    const TVector& pa = Table.Vertices[a.Vertex];
    const TVector turn = VectorCross(VectorSubtract(Table.Vertices[b.Vertex], pa),
                                     VectorSubtract(Table.Vertices[c.Vertex], pa));
    const TVector outside = VectorAdd(Table.Normals[a.Normal],
                                      VectorAdd(Table.Normals[b.Normal], Table.Normals[c.Normal]));
    const bool counterClockwise = VectorDot(turn, outside) > 0;
    const TMeshCorner& second = counterClockwise ? b : c;
    const TMeshCorner& third = counterClockwise ? c : b;
    Table.Faces.push_back({{a.Vertex, second.Vertex, third.Vertex},
                           {a.Normal, second.Normal, third.Normal},
                           {a.TexCoord, second.TexCoord, third.TexCoord}});
}

TVector FaceNormal(const TVector& a, const TVector& b, const TVector& c, const TVector& outside) {
    const TVector normal = Normalised(VectorCross(VectorSubtract(b, a), VectorSubtract(c, a)));
    return VectorDot(normal, outside) < 0 ? VectorScale(normal, -1) : normal;
}
