#pragma once

#include <QLabel>

namespace ordinalette::app {

// A one-line label that sizes itself to its caption; "&" is shown as it stands. A caption
// wider than the parent is cut off at the parent's edge.
class TLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLabel(QWidget* parent = nullptr);

    QString Caption() const { return text(); }
    void SetCaption(const QString& caption);
};

} // namespace ordinalette::app
