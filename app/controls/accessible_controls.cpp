#include "app/controls/accessible_controls.h"

#include "app/controls/t_progress_bar.h"
#include "app/controls/t_status_bar.h"

#include <QAccessibleWidget>

namespace ordinalette::app {

namespace {

// The status bar's one section, named by its text.
class StatusBarAccessible : public QAccessibleWidget {
public:
    explicit StatusBarAccessible(TStatusBar* bar)
        : QAccessibleWidget(bar, QAccessible::StatusBar) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const TStatusBar*>(widget())->simpleText();
        return QAccessibleWidget::text(kind);
    }
};

// The progress bar as a value between its minimum and maximum; the user cannot set it.
class ProgressBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ProgressBarAccessible(TProgressBar* bar)
        : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QVariant currentValue() const override { return bar()->position(); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return bar()->max(); }
    QVariant minimumValue() const override { return bar()->min(); }
    QVariant minimumStepSize() const override { return bar()->step(); }

private:
    const TProgressBar* bar() const { return static_cast<const TProgressBar*>(widget()); }
};

QAccessibleInterface* controlAccessible(const QString&, QObject* object) {
    if (auto* bar = qobject_cast<TStatusBar*>(object))
        return new StatusBarAccessible(bar);
    if (auto* bar = qobject_cast<TProgressBar*>(object))
        return new ProgressBarAccessible(bar);
    return nullptr;
}

} // namespace

void installControlAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(controlAccessible);
        return true;
    }();
    (void)installed;
}

} // namespace ordinalette::app
