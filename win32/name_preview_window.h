#pragma once

#include "form/name_preview_rows.h"

#include <windows.h>

namespace ordinalette::win32 {

// Shows the new-name list in a window of its own over owner, without waiting for it to close:
// one line per file with its current name, its new name and why the run cannot give it, the
// first such line selected. The window is closed by its close box; nullptr when it cannot be
// made.
HWND showNamePreviewWindow(HWND owner, HFONT font, const form::NamePreviewRows& rows);

} // namespace ordinalette::win32
