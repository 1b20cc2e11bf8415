#pragma once
// A stand-in for the game's scene, with the same load on a device: a full-screen textured
// drum seen from inside, a textured board and its rims, four lit textured balls, a lit
// slot, four lit lane panels and alpha-blended digits, seen from the side camera.

#include "platform/d3d/D3D8.h"

#include <vector>

class TStandInScene {
public:
    // Builds the geometry and textures on `device` and sets the scene states. The drum turns
    // a little with every frame, as the game's does, so that no frame repeats the one before;
    // a still scene repeats its frame exactly.
    explicit TStandInScene(IDirect3DDevice8& device, bool drumTurns = true);

    // Clears, draws and presents one frame; returns the first failing code, else D3D_OK.
    HRESULT DrawFrame();

private:
    struct TRange {
        UINT FirstVertex;
        UINT Triangles;
    };

    IDirect3DDevice8& Device;
    TComRef<IDirect3DVertexBuffer8> Vertices;
    TComRef<IDirect3DTexture8> DrumTexture, BoardTexture, RimTexture, BallTexture, DigitTexture;
    TRange Drum{}, Board{}, Rim{}, Ball{}, Slot{}, Panel{}, Digit{};
    D3DMATRIX View{}, Projection{};
    bool DrumTurns;
    float DrumTurn = 0;
};
