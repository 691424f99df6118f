#pragma once

#include <string>

namespace ordinalette::win32 {

// A UTF-8 text of the sources in the system's code page, for the A-functions of Windows.
std::string systemText(const char* utf8);

} // namespace ordinalette::win32
