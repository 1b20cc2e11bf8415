#include "settings/dialogs/WebLinks.h"

#include "platform/system/ShellOpen.h"

std::string MakerSiteAddress(std::string_view path) {
    return std::string(MakerSite) + std::string(path);
}

std::string HighScoreMailLink() {
    return "mailto:" + std::string(HighScoreMailAddress) + "?Subject=Zorbix high score";
}

void OpenGameHomePage() {
    ShellOpen(MakerSiteAddress(GameHomePagePath));
}

void OpenQuillonHomePage() {
    ShellOpen(MakerSiteAddress(QuillonHomePagePath));
}

void OpenQuillonDownload() {
    ShellOpen(MakerSiteAddress(QuillonDownloadPath));
}

void OpenSharedHighScores() {
    ShellOpen(MakerSiteAddress(SharedHighScoresPath));
}

void OpenHighScoreMail() {
    ShellOpen(HighScoreMailLink());
}
