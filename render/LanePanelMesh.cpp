#include "render/SceneMeshes.h"

#include "math/Math3D.h"

#include <array>

namespace {
constexpr std::array<float, 5> Columns{-0.06f, -0.03f, 0, 0.03f, 0.06f};
constexpr std::array<float, 4> Rows{-0.5f, -0.35f, 0.3f, 0.5f};
// The top's height at the edges, row by row: level, then rising, then level again.
constexpr std::array<float, 4> EdgeHeight{-0.15f, -0.15f, 0.25f, 0.25f};
constexpr float GrooveDepth = 0.05f;
constexpr float BottomHeight = -0.25f;
constexpr std::int32_t ColumnCount = static_cast<std::int32_t>(Columns.size());
constexpr std::int32_t RowCount = static_cast<std::int32_t>(Rows.size());

// Normal groups: the top per band of rows, each side wall per band, the bottom, the ends.
enum : std::int32_t {
    TopBand = 0,
    LeftBand = 10,
    RightBand = 20,
    BottomFace = 30,
    NearEnd,
    FarEnd
};

// A rounded groove: deepest on the centre line, level with the edges at the sides.
float TopHeight(std::int32_t column, std::int32_t row) {
    const float across = Columns[column] / Columns.back();
    return EdgeHeight[row] - GrooveDepth * (1 - across * across);
}
} // namespace

// Top vertices row * 5 + column (0-19), the same grid at the bottom (20-39). The groove is
// shaded smoothly across each band of rows, with a crease where the slope begins and ends;
// the side walls keep one normal per band, the bottom and the two ends one each (39). The
// panel is drawn untextured: its faces carry no texture coordinates.
TMeshTable BuildLanePanelMesh() {
    TMeshBuilder mesh;
    for (std::int32_t row = 0; row < RowCount; ++row) {
        for (std::int32_t column = 0; column < ColumnCount; ++column) {
            mesh.AddVertex({Columns[column], Rows[row], TopHeight(column, row)});
        }
    }
    for (float y : Rows) {
        for (float x : Columns) {
            mesh.AddVertex({x, y, BottomHeight});
        }
    }
    const auto top = [](std::int32_t column, std::int32_t row) {
        return row * ColumnCount + column;
    };
    const auto bottom = [&](std::int32_t column, std::int32_t row) {
        return RowCount * ColumnCount + top(column, row);
    };
    // The up-facing normal of the top's cell right of `column` in `band`.
    const auto cellNormal = [&](std::int32_t column, std::int32_t band) {
        return FaceNormal(mesh.Vertex(top(column, band)), mesh.Vertex(top(column + 1, band)),
                          mesh.Vertex(top(column + 1, band + 1)), {0, 0, 1});
    };
    const auto topCorner = [&](std::int32_t column, std::int32_t row, std::int32_t band) {
        TVector sum{0, 0, 0};
        if (column > 0) {
            sum = VectorAdd(sum, cellNormal(column - 1, band));
        }
        if (column + 1 < ColumnCount) {
            sum = VectorAdd(sum, cellNormal(column, band));
        }
        const std::int32_t v = top(column, row);
        return TMeshCorner{v, mesh.Normal({v, TopBand + band}, sum)};
    };
    const auto quad = [&](const std::array<TMeshCorner, 4>& at) {
        mesh.AddFace(at[0], at[1], at[2]);
        mesh.AddFace(at[0], at[2], at[3]);
    };

    for (std::int32_t band = 0; band + 1 < RowCount; ++band) {
        for (std::int32_t column = 0; column + 1 < ColumnCount; ++column) {
            quad({topCorner(column, band, band), topCorner(column + 1, band, band),
                  topCorner(column + 1, band + 1, band), topCorner(column, band + 1, band)});
        }
    }
    const std::int32_t down = mesh.Normal({0, BottomFace}, {0, 0, -1});
    for (std::int32_t row = 0; row + 1 < RowCount; ++row) {
        for (std::int32_t column = 0; column + 1 < ColumnCount; ++column) {
            quad({TMeshCorner{bottom(column, row), down},
                  {bottom(column + 1, row), down},
                  {bottom(column + 1, row + 1), down},
                  {bottom(column, row + 1), down}});
        }
    }
    for (std::int32_t band = 0; band + 1 < RowCount; ++band) {
        for (const bool right : {false, true}) {
            const std::int32_t column = right ? ColumnCount - 1 : 0;
            const std::int32_t n = mesh.Normal({0, (right ? RightBand : LeftBand) + band},
                                               {right ? 1.0f : -1.0f, 0, 0});
            quad({TMeshCorner{bottom(column, band), n},
                  {bottom(column, band + 1), n},
                  {top(column, band + 1), n},
                  {top(column, band), n}});
        }
    }
    for (const bool far : {false, true}) {
        const std::int32_t row = far ? RowCount - 1 : 0;
        const std::int32_t n = mesh.Normal({0, far ? FarEnd : NearEnd}, {0, far ? 1.0f : -1.0f, 0});
        for (std::int32_t column = 0; column + 1 < ColumnCount; ++column) {
            quad({TMeshCorner{bottom(column, row), n},
                  {bottom(column + 1, row), n},
                  {top(column + 1, row), n},
                  {top(column, row), n}});
        }
    }
    return mesh.Finish();
}

const TMeshTable LanePanelMeshTable = BuildLanePanelMesh();
