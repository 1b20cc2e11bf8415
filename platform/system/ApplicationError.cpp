#include "platform/system/ApplicationError.h"

#include "platform/system/MessageBox.h"

#include <QApplication>

#include <exception>

namespace {
std::string Title;
}

std::string ApplicationTitle() { return Title; }

void SetApplicationTitle(std::string title) { Title = std::move(title); }

void ShowApplicationError(const std::string& text) {
    MessageBox(QApplication::activeWindow(), text, ApplicationTitle(), MB_OK | MB_ICONERROR);
}

bool RunReportingErrors(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        ShowApplicationError(error.what());
        return false;
    }
}
