#pragma once
// The clears and draws of one frame of the hardware device, held back until the frame's end,
// when the device either draws them or, for a frame equal to the picture its back buffer
// already holds, drops them. Each draw keeps the state it was made with and references to its
// texture and vertex buffer. Keeps its storage from frame to frame: no allocation once the
// longest frame has been seen.

#include "platform/d3d/FixedFunctionState.h"
#include "platform/d3d/opengl/GLTexture.h"
#include "platform/d3d/opengl/GLVertexBuffer.h"
#include "platform/interfaces/Unknown.h"

#include <cstddef>
#include <vector>

class TGLFrameQueue {
public:
    struct TClear {
        bool Color = false;
        D3DCOLOR Value = 0;
        bool Depth = false;
        float Z = 0;
    };
    struct TDraw {
        const TFixedFunctionState* State = nullptr;
        TGLTexture* Texture = nullptr; // null: no texture bound
        TGLVertexBuffer* Stream = nullptr;
        UINT Stride = 0;
        UINT StartVertex = 0;
        UINT PrimitiveCount = 0;
    };

    void AddClear(const TClear& clear);
    void AddDraw(const TFixedFunctionState& state, TGLTexture* texture, TGLVertexBuffer* stream,
                 UINT stride, UINT startVertex, UINT primitiveCount);
    bool Empty() const { return Length == 0; }

    // Hands each operation in order to `clear` or `draw`, then empties the queue.
    template <typename TOnClear, typename TOnDraw> void Drain(TOnClear clear, TOnDraw draw) {
        for (std::size_t i = 0; i < Length; ++i) {
            const TEntry& entry = Entries[i];
            if (entry.IsClear) {
                clear(entry.Clear);
            } else {
                draw(TDraw{&States[entry.StateIndex], entry.Texture.Get(), entry.Stream.Get(),
                           entry.Stride, entry.StartVertex, entry.PrimitiveCount});
            }
        }
        Discard();
    }
    // Empties the queue, letting go of its textures and buffers.
    void Discard();

private:
    struct TEntry {
        bool IsClear = false;
        TClear Clear;
        std::size_t StateIndex = 0;
        TComRef<TGLTexture> Texture;
        TComRef<TGLVertexBuffer> Stream;
        UINT Stride = 0;
        UINT StartVertex = 0;
        UINT PrimitiveCount = 0;
    };
    TEntry& NextEntry();

    std::vector<TEntry> Entries;
    std::size_t Length = 0;
    // One copy of the state per change of it within the frame.
    std::vector<TFixedFunctionState> States;
    std::size_t StateCount = 0;
};
