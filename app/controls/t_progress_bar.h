#pragma once

#include "form/progress_range.h"

#include <QWidget>

namespace ordinalette::app {

// A horizontal, segmented progress bar. A step past the maximum starts over at the minimum; a
// bar whose maximum equals its minimum shows empty.
class TProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit TProgressBar(QWidget* parent = nullptr);

    // The rules of form::ProgressRange.
    int min() const { return m_range.min(); }
    void setMin(int value);
    int max() const { return m_range.max(); }
    void setMax(int value);
    int position() const { return m_range.position(); }
    void setPosition(int value);
    int step() const { return m_range.step(); }
    void setStep(int value) { m_range.setStep(value); }
    void stepIt();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect inside() const;
    // Moves the bar as the range's position changed from before.
    void movedFrom(const form::ProgressRange& before);

    form::ProgressRange m_range;
};

} // namespace ordinalette::app
