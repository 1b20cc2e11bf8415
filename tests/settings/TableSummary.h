#pragma once
// The whole table on one line, "name score" best first, so a test states a table at a glance.

#include "settings/ScoreTable.h"

#include <string>

inline std::string TableSummary(const TScoreTable& table) {
    std::string text;
    for (int rank = 1; rank <= ScoreRankCount; ++rank) {
        text += (rank > 1 ? ", " : "") + table.Entry(rank).Name() + " " +
                std::to_string(table.Entry(rank).Score);
    }
    return text;
}
