#include "settings/Options.h"

#include "platform/files/GameFilePlaces.h"

std::unique_ptr<TOptions> Options;

TOptions::TOptions()
    : ViewEye{{0, 0, 3}, {0, -1.1f, 2.5f}, {0, -2.3f, 2}, {0.8f, -2, 1.8f}},
      DigitsPlace{{{1.3f, 1.25f, 0.5f}, {0, 0, 0}},
                  {{1.25f, 1, 0.75f}, {0.4f, 0, 0}},
                  {{1.3f, 0.4f, 1.3f}, {0.85f, 0, 0}},
                  {{1, 1.4f, 1}, {1.2f, 0, 0.3f}}},
      IniFileName(GameFilePlaces().OptionsFile) {}
