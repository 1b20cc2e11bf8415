#pragma once
// The sound device owner of the main window: opens and closes the platform device, holds its
// primary buffer, and tells its listeners (the wave lists) when the device is being set up,
// has been set up, is closing, must refill its buffers, or is going away. User-interface
// thread only.

#include "audio/DirectSound.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TDXSound;

enum class TDXSoundNotifyType { Destroying, Initializing, Initialize, Finalize, Restore };

using TDXSoundNotifyEvent = std::function<void(TDXSound&, TDXSoundNotifyType)>;
using TDXSoundEvent = std::function<void(TDXSound&)>;

// Members of TDXSound::Options; the game leaves the set empty.
enum TDXSoundOption : std::uint8_t {
    soGlobalFocus = 1 << 0, // buffers keep sounding when another program has the focus
    soStickyFocus = 1 << 1, // ... unless that program plays sound itself
    soExclusive = 1 << 2,   // exclusive cooperative level
};

// The library the device comes from: its name for messages and its DirectSoundCreate entry.
// The default is our platform layer; an empty entry is a library that could not be loaded.
struct TSoundLibrary {
    std::string Name;
    TDirectSoundCreate DirectSoundCreate;
};
TSoundLibrary PlatformSoundLibrary();

class TDXSound {
public:
    // form: the main window the device binds to; null makes OpenDevice fail.
    explicit TDXSound(HWND form);
    // Tells the listeners it is destroying, then closes the device.
    ~TDXSound();
    TDXSound(const TDXSound&) = delete;
    TDXSound& operator=(const TDXSound&) = delete;

    // Closes the device if open, then opens it anew: listeners hear initializing, initialize
    // and restore, with OnInitializing, OnInitialize and OnRestore fired after them. Throws
    // EGameError "Form not found", "<library> not loaded", "DirectSound cannot be initialized"
    // or "Primary Buffer cannot be made", or what a listener throws; the device is closed then.
    void OpenDevice();
    // Does nothing unless open. Fires OnFinalize (if OnInitialize was fired), then the
    // listeners hear finalize, and the device and its primary buffer are released.
    void CloseDevice();
    // Listeners refill every buffer, then OnRestore is fired. Does nothing while closed.
    void RestoreAll();
    bool Initialized() const { return IsOpen; }

    HWND Form() const { return OwnerForm; }
    // The open device and its primary buffer; null while closed.
    TDirectSound* DSound() const { return Device.get(); }
    TDirectSoundBuffer* Primary() const { return PrimaryBuffer.get(); }

    // Listeners hear every event, the most recently registered first. owner names the
    // registration for UnRegisterNotifyEvent; a listener may unregister while it is told.
    void RegisterNotifyEvent(const void* owner, TDXSoundNotifyEvent event);
    void UnRegisterNotifyEvent(const void* owner);

    TDXSoundEvent OnInitializing;
    TDXSoundEvent OnInitialize;
    TDXSoundEvent OnFinalize;
    TDXSoundEvent OnRestore;

    // TDXSoundOption bits; read when the device opens and when buffers are made.
    std::uint8_t Options = 0;
    // The flags of every wave's buffer: frequency, pan and volume control, plus the focus
    // the options ask for.
    DWORD SoundBufferFlags() const;
    // Read by OpenDevice.
    TSoundLibrary Library = PlatformSoundLibrary();

private:
    struct TListener {
        const void* Owner;
        TDXSoundNotifyEvent Event;
    };

    void Notify(TDXSoundNotifyType type);
    static void Fire(const TDXSoundEvent& event, TDXSound& sound);
    void MakeDevice();
    void ReleaseDevice();

    HWND OwnerForm;
    std::unique_ptr<TDirectSound> Device;
    std::unique_ptr<TDirectSoundBuffer> PrimaryBuffer;
    std::vector<TListener> Listeners;
    bool IsOpen = false;
    bool InitializeFired = false;
};
