#pragma once
// Every sound effect of the game, synthesised, mastered and filed under its name, in the
// order "Sounds.dxw" stores them.

#include "audio/wavefile/WaveCollection.h"

// Fills an empty collection.
void BuildEffectCollection(TWaveCollection& collection);
