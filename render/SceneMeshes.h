#pragma once
// The six mesh tables of the scene, in model units, built once when the program starts.
// Their sizes and texture repeats are applied while the vertex buffer is filled.

#include "render/MeshTable.h"

// The background drum: twelve-sided, radius 0.5, z from -0.25 to 0.25, closed at both ends.
extern const TMeshTable BackgroundMeshTable;
// The field: flat at z = 0, +-0.5 with a square hole of +-0.15 in the middle.
extern const TMeshTable FieldMeshTable;
// The rim: a square ring from +-0.45 to +-0.5, z from 0 to 0.05, closed all round.
extern const TMeshTable FrameMeshTable;
// The ball: a subdivided icosahedron of radius 0.5 with its poles on the z axis.
extern const TMeshTable BallMeshTable;
// The slot: a plate narrowing towards +y with a rod continuing from its narrow end.
extern const TMeshTable SlotMeshTable;
// A lane: a ramp 0.12 wide and 1 long with a groove along y, its high end at +y. It has no
// texture coordinates.
extern const TMeshTable LanePanelMeshTable;

TMeshTable BuildBackgroundMesh();
TMeshTable BuildFieldMesh();
TMeshTable BuildFrameMesh();
TMeshTable BuildBallMesh();
TMeshTable BuildSlotMesh();
TMeshTable BuildLanePanelMesh();
