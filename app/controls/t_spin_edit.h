#pragma once

#include <QLineEdit>
#include <cstdint>
#include <string>

class QToolButton;

namespace ordinalette::app {

// An edit field with up and down buttons whose text is the only store of its value: reading
// follows the integer-text rule without clamping, setting clamps to the range, and the value
// is brought into the range only when the focus leaves the field.
class TSpinEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    // The text read as an integer; the minimum when it is none. Never clamped.
    std::int32_t Value() const;
    // Clamps to MinValue..MaxValue (no clamping when the two are equal) and writes the text.
    void SetValue(std::int32_t value);

    // Plain stores: neither changes the text nor reports a change.
    std::int32_t MinValue() const { return m_minValue; }
    void SetMinValue(std::int32_t value) { m_minValue = value; }
    std::int32_t MaxValue() const { return m_maxValue; }
    void SetMaxValue(std::int32_t value) { m_maxValue = value; }

    QToolButton* upButton() const { return m_upButton; }
    QToolButton* downButton() const { return m_downButton; }

Q_SIGNALS:
    // Every change of the text, typed, pasted, stepped or set by the program.
    void OnChange();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void step(int delta);
    void setTextIfChanged(const std::string& newText);
    bool acceptsTypedText(const QString& text) const;

    std::int32_t m_minValue = 0;
    std::int32_t m_maxValue = 100;
    QToolButton* m_upButton;
    QToolButton* m_downButton;
};

} // namespace ordinalette::app
