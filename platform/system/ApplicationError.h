#pragma once
// The application's general error report: an error that escapes a handler ends here, in a
// message box with its text, captioned with the application's title, the error icon and an
// OK button.

#include <functional>
#include <string>

void ShowApplicationError(const std::string& text);

// The application's title, which captions its plain messages and the main window; set once
// by the main block.
std::string ApplicationTitle();
void SetApplicationTitle(std::string title);

// Runs `handler`; an EGameError or other standard exception it throws is shown by
// ShowApplicationError instead of going further. Returns false when it was.
bool RunReportingErrors(const std::function<void()>& handler);
