#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QRadioButton;

namespace ordinalette::app {

// A group box holding one column of radio buttons; its item index is the checked item's.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    void setItems(const QStringList& items);
    int count() const { return static_cast<int>(m_buttons.size()); }
    QRadioButton* button(int index) const { return m_buttons.at(static_cast<std::size_t>(index)); }

    // -1 when no item is checked.
    int ItemIndex() const;
    // Limited to -1 .. count() - 1; a different index checks that item and reports a click.
    void SetItemIndex(int index);

Q_SIGNALS:
    // Another item became checked, by a click, the keyboard or the program.
    void OnClick();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void arrangeButtons();

    std::vector<QRadioButton*> m_buttons;
};

} // namespace ordinalette::app
