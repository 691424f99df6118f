#pragma once

#include <QPushButton>

namespace ordinalette::app {

// A push button with a glyph to the left of its caption; the glyph bitmap holds the normal
// and the disabled image side by side, its bottom-left pixel's colour being transparent.
class TBitBtn : public QPushButton {
    Q_OBJECT
public:
    // The default button answers Enter, the cancel button Escape (the window routes the keys).
    enum class Kind { Custom, Ok, Cancel };

    explicit TBitBtn(QWidget* parent = nullptr);

    Kind kind() const { return m_kind; }
    // Ok and Cancel bring their own glyph.
    void setKind(Kind kind);
    void setGlyph(const QPixmap& glyph);

protected:
    // Enter presses the focused button, or the default button while no button has the focus:
    // that button is drawn as the default one.
    void initStyleOption(QStyleOptionButton* option) const override;
    // A focused button shows the classic dotted frame inside its edge, whatever the style and
    // however the focus came, so that the user sees which button Enter presses.
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressedByEnter() const;

    Kind m_kind = Kind::Custom;
};

} // namespace ordinalette::app
