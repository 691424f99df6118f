#pragma once

#include <windows.h>

namespace ordinalette::foldertree {

// A window of the calling thread that is never shown, its procedure finding its object in the
// window's user data: a top-level one (HWND_DESKTOP: broadcasts reach it) or a message-only one
// (HWND_MESSAGE). The procedure is set only once the window knows its object. Null when Windows
// refuses it.
HWND createHiddenWindow(const char* className, HWND parent, void* object, WNDPROC procedure);

} // namespace ordinalette::foldertree
