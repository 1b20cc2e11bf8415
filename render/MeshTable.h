#pragma once
// The layout of one mesh table: faces that index a vertex, a normal and a texture coordinate
// per corner, and the three tables they index. The scene's six tables are built once, before
// the vertex buffer is filled, and never change.

#include "core/Types.h"

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

struct TTexCoord {
    float u;
    float v;
};

// Corner c of a face is Vertex[c] with Normal[c] and TexCoord[c]. A mesh without texture
// coordinates stores NoTexCoord.
struct TMeshFace {
    std::int32_t Vertex[3];
    std::int32_t Normal[3];
    std::int32_t TexCoord[3];
};
constexpr std::int32_t NoTexCoord = -1;

struct TMeshTable {
    std::vector<TMeshFace> Faces;
    std::vector<TVector> Vertices;
    std::vector<TVector> Normals; // unit length
    std::vector<TTexCoord> TexCoords;
};

// One corner while a table is being built.
struct TMeshCorner {
    std::int32_t Vertex;
    std::int32_t Normal;
    std::int32_t TexCoord = NoTexCoord;
};

// Builds a table: vertices are appended, normals and texture coordinates are shared by
// key (the first request of a key makes the entry, later ones reuse it), and every face is
// stored counter-clockwise about its corners' normals, whatever order it was given in.
class TMeshBuilder {
public:
    using TKey = std::pair<std::int32_t, std::int32_t>;

    std::int32_t AddVertex(const TVector& position);
    const TVector& Vertex(std::int32_t index) const { return Table.Vertices[index]; }
    // The entry of `key`, made with the (normalised) `normal` when the key is new.
    std::int32_t Normal(TKey key, const TVector& normal);
    std::int32_t TexCoord(TKey key, TTexCoord coordinate);
    void AddFace(const TMeshCorner& a, const TMeshCorner& b, const TMeshCorner& c);

    TMeshTable Finish() { return std::move(Table); }

private:
    TMeshTable Table;
    std::map<TKey, std::int32_t> NormalKeys;
    std::map<TKey, std::int32_t> TexCoordKeys;
};

// The unit normal of triangle (a, b, c), turned to the side of `outside`.
TVector FaceNormal(const TVector& a, const TVector& b, const TVector& c, const TVector& outside);
