#include "platform/d3d/opengl/GLFrameQueue.h"

TGLFrameQueue::TEntry& TGLFrameQueue::NextEntry() {
    if (Length == Entries.size()) {
        Entries.emplace_back();
    }
    return Entries[Length++];
}

void TGLFrameQueue::AddClear(const TClear& clear) {
    TEntry& entry = NextEntry();
    entry.IsClear = true;
    entry.Clear = clear;
}

void TGLFrameQueue::AddDraw(const TFixedFunctionState& state, TGLTexture* texture,
                            TGLVertexBuffer* stream, UINT stride, UINT startVertex,
                            UINT primitiveCount) {
    if (StateCount == 0 || States[StateCount - 1].Version() != state.Version()) {
        if (StateCount == States.size()) {
            States.push_back(state);
        } else {
            States[StateCount] = state;
        }
        ++StateCount;
    }
    TEntry& entry = NextEntry();
    entry.IsClear = false;
    entry.StateIndex = StateCount - 1;
    entry.Texture = TComRef<TGLTexture>::Share(texture);
    entry.Stream = TComRef<TGLVertexBuffer>::Share(stream);
    entry.Stride = stride;
    entry.StartVertex = startVertex;
    entry.PrimitiveCount = primitiveCount;
}

void TGLFrameQueue::Discard() {
    for (std::size_t i = 0; i < Length; ++i) {
        Entries[i].Texture.Reset();
        Entries[i].Stream.Reset();
    }
    Length = 0;
    StateCount = 0;
}
