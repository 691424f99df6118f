#pragma once

#include <QLabel>

namespace ordinalette::app {

// A one-line label that sizes itself to its caption; "&" is shown as it stands. A caption
// wider than the parent is cut off at the parent's edge.
class TLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLabel(QWidget* parent = nullptr);

    QString caption() const { return text(); }
    void setCaption(const QString& caption);
};

} // namespace ordinalette::app
