#pragma once
// The game's addresses on the maker's web site and its high-score mail link, and the
// commands that open them through the shell. Opening never reports failure.

#include <string>
#include <string_view>

constexpr std::string_view MakerSite = "https://www.zorbix-games.example";
constexpr std::string_view HighScoreMailAddress = "scores@zorbix-games.example";

constexpr std::string_view GameHomePagePath = "/zorbix.shtml";
constexpr std::string_view QuillonHomePagePath = "/quillon.shtml";
constexpr std::string_view QuillonDownloadPath = "/files/quillon.exe";
constexpr std::string_view SharedHighScoresPath = "/zorbix/hiscores.dat";

// The full address of a path on the maker's site.
std::string MakerSiteAddress(std::string_view path);
// "mailto:" with the high-score address and the subject line.
std::string HighScoreMailLink();

void OpenGameHomePage();
void OpenQuillonHomePage();
void OpenQuillonDownload();
void OpenSharedHighScores();
void OpenHighScoreMail();
