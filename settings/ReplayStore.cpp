#include "settings/ReplayStore.h"

#include "core/GameError.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/GameFilePlaces.h"
#include "platform/files/RegularFile.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>

namespace {
std::string TimeStampName(std::chrono::system_clock::time_point time) {
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
    const std::time_t seconds = static_cast<std::time_t>(milliseconds / 1000);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    std::array<char, 64> name{};
    std::snprintf(name.data(), name.size(), "game-%04d%02d%02d-%02d%02d%02d-%03d.replay",
                  utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min,
                  utc.tm_sec, static_cast<int>(milliseconds % 1000));
    return name.data();
}

// The time a kept game's name was made from; nothing for a name not made by TimeStampName.
std::optional<std::chrono::system_clock::time_point> NameTime(const std::string& name) {
    std::tm utc{};
    int millisecond = 0;
    int length = 0;
    if (std::sscanf(name.c_str(), "game-%4d%2d%2d-%2d%2d%2d-%3d.replay%n", &utc.tm_year,
                    &utc.tm_mon, &utc.tm_mday, &utc.tm_hour, &utc.tm_min, &utc.tm_sec, &millisecond,
                    &length) != 7 ||
        static_cast<std::size_t>(length) != name.size()) {
        return std::nullopt;
    }
    utc.tm_year -= 1900;
    utc.tm_mon -= 1;
    return std::chrono::system_clock::from_time_t(timegm(&utc)) +
           std::chrono::milliseconds(millisecond);
}

std::optional<TReplayHeader> HeaderOf(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (ReadRegularFile(path, LargestReplayBytes, bytes)) {
        return std::nullopt;
    }
    try {
        return ReadReplayHeader(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const EGameError&) {
        return std::nullopt;
    }
}

// The table's row `header` records, 1 to 5, or 0.
int RankOf(const TReplayHeader& header, const TScoreTable& table) {
    const int rank = table.RankOf(header.Score, header.Date);
    return rank > 0 && table.Entry(rank).Name() == header.Name ? rank : 0;
}
} // namespace

TReplayStore::TReplayStore(std::string directory) : Directory(std::move(directory)) {}

std::vector<TReplayStore::TFound> TReplayStore::FindFiles() const {
    std::vector<TFound> found;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(Directory, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (NameTime(name)) {
            found.push_back({entry->path().string(), HeaderOf(entry->path().string())});
        }
    }
    std::ranges::sort(found, {}, &TFound::Path);
    return found;
}

std::string TReplayStore::NewFileName(const std::vector<TFound>& files) const {
    // Later than every kept game, so that it sorts last: in the same millisecond as another,
    // or after the clock has been put back. Compared in whole milliseconds, as the names
    // are: a game kept later within the newest one's millisecond would otherwise take its
    // name and overwrite it.
    std::chrono::system_clock::time_point time =
        std::chrono::floor<std::chrono::milliseconds>(std::chrono::system_clock::now());
    if (!files.empty()) {
        const auto newest = NameTime(std::filesystem::path(files.back().Path).filename().string());
        if (newest && *newest >= time) {
            time = *newest + std::chrono::milliseconds(1);
        }
    }
    return Directory + TimeStampName(time);
}

std::error_code TReplayStore::Keep(const TReplay& replay, const TScoreTable& table) {
    CreateDirectoryFor(Directory);
    // Read once: the kept games as they were, which the new one joins.
    const std::vector<TFound> files = FindFiles();
    const std::string path = NewFileName(files);
    if (const std::error_code error = ReplaceFileContents(path, ReplayText(replay))) {
        return error;
    }
    std::array<bool, ScoreRankCount> rowKept{};
    if (const int rank = RankOf(replay.Header, table); rank > 0) {
        rowKept[static_cast<std::size_t>(rank - 1)] = true;
    }
    for (const TFound& file : files) {
        const int rank = file.Header ? RankOf(*file.Header, table) : 0;
        if (rank > 0 && !rowKept[static_cast<std::size_t>(rank - 1)]) {
            rowKept[static_cast<std::size_t>(rank - 1)] = true;
            continue;
        }
        std::error_code ignored;
        std::filesystem::remove(file.Path, ignored);
    }
    return {};
}

TKeptGames TReplayStore::List(const TScoreTable& table) const {
    TKeptGames kept;
    const std::vector<TFound> files = FindFiles();
    for (const TFound& file : files) {
        const int rank = file.Header ? RankOf(*file.Header, table) : 0;
        const bool rowTaken = std::ranges::any_of(
            kept.Ranked, [rank](const TKeptGame& game) { return game.Rank == rank; });
        if (rank > 0 && !rowTaken) {
            kept.Ranked.push_back({file.Path, *file.Header, rank});
        }
    }
    std::ranges::sort(kept.Ranked, {}, &TKeptGame::Rank);
    if (!files.empty() && files.back().Header) {
        kept.Last =
            TKeptGame{files.back().Path, *files.back().Header, RankOf(*files.back().Header, table)};
    }
    return kept;
}

TReplay LoadReplayFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (const std::error_code error = ReadRegularFile(path, LargestReplayBytes, bytes)) {
        throw EGameError(error == std::errc::file_too_large ? "it is too large to be a replay"
                                                            : error.message());
    }
    return ReadReplay(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}
