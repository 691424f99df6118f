#pragma once

namespace ordinalette::form {

// The range, position and step of a progress bar. A step past the maximum starts over at the
// minimum.
class ProgressRange {
public:
    int min() const { return m_min; }
    // A lower minimum moves the position down to it, a higher one above the position up to it.
    void setMin(int value);
    int max() const { return m_max; }
    // Brings the position down to it; raises EControlError "プロパティ TProgressBar の範囲を
    // 超えています" below the minimum.
    void setMax(int value);
    int position() const { return m_position; }
    // Clamped to the range.
    void setPosition(int value);
    int step() const { return m_step; }
    void setStep(int value) { m_step = value; }
    // Adds the step to the position, wrapping to the minimum past the maximum.
    void stepIt();
    // The part of the bar filled at the position, as a share of width; 0 for an empty range.
    int filledWidth(int width) const;

private:
    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
    int m_step = 10;
};

} // namespace ordinalette::form
