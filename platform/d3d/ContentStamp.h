#pragma once
// Stamps that name the content of a texture or vertex buffer: a new one at every change, so a
// device can tell whether a resource still holds what an earlier frame drew with.

#include <cstdint>

// Shared by every device and resource, so a stamp never names two contents, not even those of
// a released resource and of a new one made at the same address. Never 0. Any thread.
std::uint64_t NewContentStamp();
