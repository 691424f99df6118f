#pragma once

#include <string>
#include <string_view>

namespace ordinalette::win32 {

// A UTF-8 text of the sources in the system's code page, for the A-functions of Windows.
std::string systemText(const char* utf8);
// A text of the window's logic in the system's code page, and back.
std::string systemText(std::u16string_view text);
std::u16string fromSystemText(std::string_view bytes);

// The application's title: the caption of the error boxes.
inline constexpr char kApplicationTitle[] = "Ordinalette";

} // namespace ordinalette::win32
