#pragma once

#include <windows.h>

namespace ordinalette::win32 {

// Registers a class of the program's top-level windows (an arrow pointer over the colour of
// button faces); true also when it is registered already.
bool registerWindowClass(HINSTANCE instance, const char* name, WNDPROC procedure);

} // namespace ordinalette::win32
