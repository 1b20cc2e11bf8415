#pragma once
// Turning a 3D result code into words, and the report of a failed frame. The report is a
// seam: the main window installs what it does (stop rendering, show a box); until then a
// report goes to the standard error stream, so tools and tests still see it.

#include "platform/interfaces/D3D8Types.h"

#include <functional>
#include <string>

// The text of a result code; "Unrecognized Error" for a code the game does not name.
const char* Direct3DErrorText(HRESULT code);

// Receives the caption and the text of one report.
using TDirect3DErrorReporter =
    std::function<void(const std::string& caption, const std::string& text)>;

// Installs the reporter; an empty one restores the standard-error fallback.
void SetDirect3DErrorReporter(TDirect3DErrorReporter reporter);

// Reports a failed step under `caption` (the main loop passes "Render") with the code's text.
void ReportDirect3DError(const std::string& caption, HRESULT code);
