#include "app/tree/deferred_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <memory>
#include <optional>
#include <utility>

namespace ordinalette::foldertree {

namespace {

class DeferredIconEngine : public QIconEngine {
public:
    DeferredIconEngine(QSize size, std::function<QIcon()> make)
        : m_size(size), m_images(std::make_shared<Images>(Images{std::move(make), {}})) {}

    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }
    QString key() const override { return QStringLiteral("DeferredIconEngine"); }
    bool isNull() override { return false; }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {m_size}; }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        return m_size.scaled(m_size.boundedTo(size), Qt::KeepAspectRatio);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return made().pixmap(size, mode, state);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        made().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

private:
    struct Images {
        std::function<QIcon()> make;
        std::optional<QIcon> made;
    };

    const QIcon& made() {
        if (!m_images->made)
            m_images->made = m_images->make();
        return *m_images->made;
    }

    QSize m_size;
    std::shared_ptr<Images> m_images;
};

} // namespace

QIcon deferredIcon(QSize size, std::function<QIcon()> make) {
    return QIcon(new DeferredIconEngine(size, std::move(make)));
}

} // namespace ordinalette::foldertree
