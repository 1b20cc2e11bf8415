#pragma once
// Copies between the settings and the check marks of the Options menu: the view items (Top,
// Half side, Side, Corner), the difficulty items (Easy, Normal), and Sounds and Music.

class QAction;
class TOptions;

struct TOptionItems {
    QAction* Top1 = nullptr;
    QAction* Halfside1 = nullptr;
    QAction* Side1 = nullptr;
    QAction* Corner1 = nullptr;
    QAction* Easy1 = nullptr;
    QAction* Normal1 = nullptr;
    QAction* Sound1 = nullptr;
    QAction* Music1 = nullptr;
};

// Takes the settings from the check marks. Of several checked view or difficulty items the
// last in menu order wins; with none checked that setting is kept.
void ReadMenuChecks(TOptions& options, const TOptionItems& items);
// Checks exactly one view item (Corner for any view above 2), exactly one difficulty item
// (Normal for any difficulty but 0), and Sounds and Music as the settings say.
void ApplyMenuChecks(const TOptions& options, const TOptionItems& items);
