#include "app/MenuChecks.h"

#include "settings/Options.h"

#include <QAction>

#include <algorithm>
#include <array>
#include <cstdint>

namespace {
std::array<QAction*, 4> ViewItems(const TOptionItems& items) {
    return {items.Top1, items.Halfside1, items.Side1, items.Corner1};
}
} // namespace

void ReadMenuChecks(TOptions& options, const TOptionItems& items) {
    const auto views = ViewItems(items);
    for (std::size_t view = 0; view < views.size(); ++view) {
        if (views[view]->isChecked()) {
            options.View = static_cast<std::uint8_t>(view);
        }
    }
    if (items.Easy1->isChecked()) {
        options.Difficulty = 0;
    }
    if (items.Normal1->isChecked()) {
        options.Difficulty = 1;
    }
    options.SoundOn = items.Sound1->isChecked();
    options.MusicOn = items.Music1->isChecked();
}

void ApplyMenuChecks(const TOptions& options, const TOptionItems& items) {
    const auto views = ViewItems(items);
    const std::size_t checkedView = std::min<std::size_t>(options.View, views.size() - 1);
    for (std::size_t view = 0; view < views.size(); ++view) {
        views[view]->setChecked(view == checkedView);
    }
    items.Easy1->setChecked(options.Difficulty == 0);
    items.Normal1->setChecked(options.Difficulty != 0);
    items.Sound1->setChecked(options.SoundOn);
    items.Music1->setChecked(options.MusicOn);
}
