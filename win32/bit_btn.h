#pragma once

#include <windows.h>

namespace ordinalette::win32 {

enum class BitBtnGlyph { Ok, Cancel };

// Draws an owner-drawn button as a button with a glyph: the face, the glyph (a green check mark
// or a red cross, grey while disabled) 4 pixels left of the caption, both centred together,
// and the focus frame. framed: the thick frame of the button Enter presses.
void drawBitBtn(const DRAWITEMSTRUCT& item, BitBtnGlyph glyph, bool framed);

} // namespace ordinalette::win32
