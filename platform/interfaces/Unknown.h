#pragma once
// Counted references, shaped like the COM interfaces the game's services hand out:
// an object lives while someone holds a reference and is destroyed by its last Release.

#include <atomic>
#include <cstdint>
#include <utility>

using ULONG = std::uint32_t;

class IUnknown {
public:
    IUnknown() = default;
    IUnknown(const IUnknown&) = delete;
    IUnknown& operator=(const IUnknown&) = delete;

    ULONG AddRef() { return ++RefCount; }
    ULONG Release() {
        const ULONG left = --RefCount;
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    virtual ~IUnknown() = default;

private:
    // Atomic because sound buffers are also held by the mixer thread.
    std::atomic<ULONG> RefCount{1};
};

// Holds one counted reference; copying adds a reference, destruction releases it.
template <class T> class TComRef {
public:
    TComRef() = default;
    TComRef(std::nullptr_t) {}
    // Takes over a reference the caller already owns (as a Create call hands out).
    static TComRef Attach(T* owned) {
        TComRef ref;
        ref.Ptr = owned;
        return ref;
    }
    // Adds a reference of its own to a pointer someone else keeps.
    static TComRef Share(T* borrowed) {
        if (borrowed != nullptr) {
            borrowed->AddRef();
        }
        return Attach(borrowed);
    }
    TComRef(const TComRef& other) : Ptr(other.Ptr) {
        if (Ptr != nullptr) {
            Ptr->AddRef();
        }
    }
    TComRef(TComRef&& other) noexcept : Ptr(std::exchange(other.Ptr, nullptr)) {}
    TComRef& operator=(TComRef other) noexcept {
        std::swap(Ptr, other.Ptr);
        return *this;
    }
    ~TComRef() { Reset(); }

    void Reset() {
        if (Ptr != nullptr) {
            std::exchange(Ptr, nullptr)->Release();
        }
    }
    // For out-parameters of Create calls: drops what is held and lends the slot.
    T** Put() {
        Reset();
        return &Ptr;
    }
    T* Get() const { return Ptr; }
    T* operator->() const { return Ptr; }
    explicit operator bool() const { return Ptr != nullptr; }
    bool operator==(const TComRef& other) const = default;

private:
    T* Ptr = nullptr;
};
