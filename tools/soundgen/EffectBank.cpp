#include "tools/soundgen/EffectBank.h"

#include "audio/wavefile/Wave.h"
#include "tools/soundgen/Effects.h"
#include "tools/soundgen/Mastering.h"

namespace {
// Short enough to keep every attack crisp, long enough that no start or stop clicks.
constexpr double FadeInSeconds = 0.003;
constexpr double FadeOutSeconds = 0.025;

void AddEffects(TWaveCollection& collection, std::vector<TEffect> effects) {
    for (TEffect& effect : effects) {
        TWaveCollectionItem& item = collection.Add();
        item.SetName(effect.Name);
        item.SetMaxPlayingCount(effect.MaxPlayingCount);
        item.Wave.Format = PcmFormatBlock(EffectSampleRate, 1, 16);
        item.Wave.Samples = MasterEffect(std::move(effect.Sound), FadeInSeconds, FadeOutSeconds);
    }
}
} // namespace

void BuildEffectCollection(TWaveCollection& collection) {
    AddEffects(collection, CueEffects());
    AddEffects(collection, KickEffects());
    AddEffects(collection, MotionEffects());
}
