#pragma once
// A device that passes every call on to a real one and remembers what the renderer asked
// for: the calls in order, the last value of every state, the draw calls, and results it
// was told to fail with.

#include "platform/d3d/D3D8.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

class TRecordingDevice final : public IDirect3DDevice8 {
public:
    explicit TRecordingDevice(TComRef<IDirect3DDevice8> inner) : Inner(std::move(inner)) {}

    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                  DWORD stencil) override {
        Calls.push_back("Clear");
        return Failing("Clear", Inner->Clear(count, rects, flags, color, z, stencil));
    }
    HRESULT BeginScene() override {
        Calls.push_back("BeginScene");
        DrawCalls = 0;
        return Failing("BeginScene", Inner->BeginScene());
    }
    HRESULT EndScene() override {
        Calls.push_back("EndScene");
        return Failing("EndScene", Inner->EndScene());
    }
    HRESULT Present(const RECT* source, const RECT* dest, HWND window,
                    const void* region) override {
        Calls.push_back("Present");
        return Failing("Present", Inner->Present(source, dest, window, region));
    }
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
        RenderStates[state] = value;
        return Inner->SetRenderState(state, value);
    }
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override {
        StageStates[type] = value;
        return Inner->SetTextureStageState(stage, type, value);
    }
    HRESULT SetLight(DWORD index, const D3DLIGHT8* light) override {
        Lights[index] = *light;
        return Inner->SetLight(index, light);
    }
    HRESULT LightEnable(DWORD index, BOOL enable) override {
        LightsOn[index] = enable != 0;
        return Inner->LightEnable(index, enable);
    }
    HRESULT SetMaterial(const D3DMATERIAL8* material) override {
        return Inner->SetMaterial(material);
    }
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override {
        return Inner->SetTransform(state, matrix);
    }
    HRESULT SetTexture(DWORD stage, IDirect3DTexture8* texture) override {
        return Inner->SetTexture(stage, texture);
    }
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DTexture8** texture) override {
        return Inner->CreateTexture(width, height, levels, usage, format, pool, texture);
    }
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer8** buffer) override {
        return Inner->CreateVertexBuffer(length, usage, fvf, pool, buffer);
    }
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) override {
        return Inner->SetStreamSource(stream, buffer, stride);
    }
    HRESULT SetVertexShader(DWORD fvf) override { return Inner->SetVertexShader(fvf); }
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT start, UINT count) override {
        ++DrawCalls;
        return Inner->DrawPrimitive(type, start, count);
    }
    HRESULT ReadBackBuffer(std::vector<std::uint32_t>& pixels, UINT& width, UINT& height) override {
        return Inner->ReadBackBuffer(pixels, width, height);
    }
    TFrameCounters FrameCounters() const override { return Inner->FrameCounters(); }

    // Makes the named call answer `code` from now on.
    void FailWith(const std::string& call, HRESULT code) { Failures[call] = code; }

    std::vector<std::string> Calls;
    std::map<DWORD, DWORD> RenderStates;
    std::map<DWORD, DWORD> StageStates;
    std::map<DWORD, D3DLIGHT8> Lights;
    std::map<DWORD, bool> LightsOn;
    int DrawCalls = 0;

private:
    HRESULT Failing(const std::string& call, HRESULT code) const {
        const auto failure = Failures.find(call);
        return failure == Failures.end() ? code : failure->second;
    }

    TComRef<IDirect3DDevice8> Inner;
    std::map<std::string, HRESULT> Failures;
};
