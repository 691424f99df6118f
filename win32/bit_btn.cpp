#include "win32/bit_btn.h"

#include <array>
#include <vector>

namespace ordinalette::win32 {

namespace {

constexpr int kGlyphSize = 18;
constexpr int kGlyphSpacing = 4;
constexpr COLORREF kCheckGreen = RGB(0, 128, 0);
constexpr COLORREF kCrossRed = RGB(192, 0, 0);

// The glyph's strokes within its 18 x 18 square, from its top-left corner.
void drawGlyph(HDC dc, int left, int top, BitBtnGlyph glyph, bool enabled) {
    const COLORREF colour = !enabled                   ? GetSysColor(COLOR_GRAYTEXT)
                            : glyph == BitBtnGlyph::Ok ? kCheckGreen
                                                       : kCrossRed;
    HPEN pen = CreatePen(PS_SOLID, 3, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    if (glyph == BitBtnGlyph::Ok) {
        const std::array<POINT, 3> check{
            {{left + 3, top + 9}, {left + 7, top + 13}, {left + 15, top + 4}}};
        Polyline(dc, check.data(), static_cast<int>(check.size()));
    } else {
        MoveToEx(dc, left + 4, top + 4, nullptr);
        LineTo(dc, left + 14, top + 14);
        MoveToEx(dc, left + 14, top + 4, nullptr);
        LineTo(dc, left + 4, top + 14);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

} // namespace

void drawBitBtn(const DRAWITEMSTRUCT& item, BitBtnGlyph glyph, bool framed) {
    HDC dc = item.hDC;
    RECT face = item.rcItem;
    const bool pushed = item.itemState & ODS_SELECTED;
    const bool enabled = !(item.itemState & ODS_DISABLED);
    if (framed) {
        FrameRect(dc, &face, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&face, -1, -1);
    }
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

    std::vector<char> caption(static_cast<std::size_t>(GetWindowTextLengthA(item.hwndItem)) + 1);
    const int length =
        GetWindowTextA(item.hwndItem, caption.data(), static_cast<int>(caption.size()));
    SIZE text{};
    GetTextExtentPoint32A(dc, caption.data(), length, &text);
    const int shift = pushed ? 1 : 0;
    const int width = kGlyphSize + kGlyphSpacing + text.cx;
    const int left = (item.rcItem.left + item.rcItem.right - width) / 2 + shift;
    const int middle = (item.rcItem.top + item.rcItem.bottom) / 2 + shift;
    drawGlyph(dc, left, middle - kGlyphSize / 2, glyph, enabled);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    const int textLeft = left + kGlyphSize + kGlyphSpacing;
    TextOutA(dc, textLeft, middle - text.cy / 2, caption.data(), length);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = face;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

} // namespace ordinalette::win32
