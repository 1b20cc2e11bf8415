#pragma once
// Reads the image of a "Sounds.dxw" file into a wave collection: the resource header, the
// signature, one holder component whose "List" property is the collection, and per item the
// properties "Name", "Looped", "MaxPlayingCount" and "Wave.WAVE" in any order.
//
// Empties the collection first. Never reads outside the image. Throws EGameError:
// "Invalid stream format" for a bad resource header or signature or a child component,
// "Stream read error" when the image ends early, "Wave is invalid" for a recording that is no
// RIFF WAVE image, "Property <name> does not exist" for a property the holder or an item does
// not have, "Invalid property value" for a value of the wrong kind. After a failure the
// collection is empty, never half loaded.

#include "audio/wavefile/WaveCollection.h"

#include <cstdint>
#include <span>

void ReadWaveCollection(std::span<const std::uint8_t> image, TWaveCollection& collection);
