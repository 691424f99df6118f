#pragma once

#include <QWidget>

namespace ordinalette::app {

// A horizontal, segmented progress bar. A step past the maximum starts over at the minimum; a
// bar whose maximum equals its minimum shows empty.
class TProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit TProgressBar(QWidget* parent = nullptr);

    int min() const { return m_min; }
    // A lower minimum moves the position down to it, a higher one above the position up to it.
    void setMin(int value);
    int max() const { return m_max; }
    // Brings the position down to it; raises EControlError "プロパティ TProgressBar の範囲を
    // 超えています" below the minimum.
    void setMax(int value);
    int position() const { return m_position; }
    void setPosition(int value);
    int step() const { return m_step; }
    void setStep(int value) { m_step = value; }
    // Adds the step to the position, wrapping to the minimum past the maximum.
    void stepIt();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect inside() const;
    // Pixels of the bar filled at a position.
    int filledWidth(int position) const;
    void moveTo(int position);

    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
    int m_step = 10;
};

} // namespace ordinalette::app
