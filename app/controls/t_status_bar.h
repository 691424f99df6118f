#pragma once

#include <QWidget>

namespace ordinalette::app {

// A status bar of one section showing the text last given to it at its left end, without a
// size grip, in the window's font (the bar's height is fixed in pixels, so a font that grew
// with the screen's density would not fit).
class TStatusBar : public QWidget {
    Q_OBJECT
public:
    explicit TStatusBar(QWidget* parent = nullptr);

    const QString& simpleText() const { return m_text; }
    void setSimpleText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};

} // namespace ordinalette::app
