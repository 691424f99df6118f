#pragma once

#include <QWidget>

namespace ordinalette::app {

// A horizontal, segmented progress bar. A step past the maximum starts over at the minimum; a
// bar whose maximum equals its minimum shows empty.
class TProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit TProgressBar(QWidget* parent = nullptr);

    int Min() const { return m_min; }
    // A lower minimum moves the position down to it, a higher one above the position up to it.
    void SetMin(int value);
    int Max() const { return m_max; }
    // Brings the position down to it; raises EControlError "プロパティ TProgressBar の範囲を
    // 超えています" below the minimum.
    void SetMax(int value);
    int Position() const { return m_position; }
    void SetPosition(int value);
    int Step() const { return m_step; }
    void SetStep(int value) { m_step = value; }
    // Adds the step to the position, wrapping to the minimum past the maximum.
    void StepIt();

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
