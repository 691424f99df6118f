#include "app/images.h"

#include "app/resources/bbcancel.xpm"
#include "app/resources/bbok.xpm"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <map>

namespace ordinalette::app::images {

namespace {

// An icon of one PNG file per size, each decoded the first time a size it serves is asked
// for: decoding every size of the program's icon (and asking every image plugin about each
// file first, as an icon given files does) took a tenth of the start-up.
class SizedFilesIconEngine : public QIconEngine {
public:
    explicit SizedFilesIconEngine(std::map<int, QString> files) : m_files(std::move(files)) {}

    QIconEngine* clone() const override { return new SizedFilesIconEngine(*this); }
    QString key() const override { return QStringLiteral("SizedFilesIconEngine"); }
    bool isNull() override { return m_files.empty(); }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const auto& [size, file] : m_files)
            sizes << QSize(size, size);
        return sizes;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min({size.width(), size.height(), servingSize(size)});
        return QSize(side, side);
    }

    // The file of the smallest size that is at least as large as asked (else the largest),
    // scaled down where it is larger: a size the package installs is drawn as drawn.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        if (m_files.empty() || size.isEmpty())
            return {};
        const int serving = servingSize(size);
        auto decoded = m_decoded.find(serving);
        if (decoded == m_decoded.end())
            decoded = m_decoded.emplace(serving, QPixmap(m_files.at(serving), "PNG")).first;
        QPixmap shown = decoded->second;
        const QSize actual = actualSize(size, mode, state);
        if (shown.size() != actual)
            shown = shown.scaled(actual, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode == QIcon::Disabled || mode == QIcon::Selected) {
            const QStyleOption option(0);
            shown = QApplication::style()->generatedIconPixmap(mode, shown, &option);
        }
        return shown;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const QPixmap shown =
            pixmap(rect.size() * painter->device()->devicePixelRatio(), mode, state);
        painter->drawPixmap(rect, shown);
    }

private:
    int servingSize(const QSize& size) const {
        const auto found = m_files.lower_bound(std::max(size.width(), size.height()));
        return found == m_files.end() ? m_files.rbegin()->first : found->first;
    }

    std::map<int, QString> m_files;
    std::map<int, QPixmap> m_decoded;
};

} // namespace

QIcon mainIcon() {
    // Each file is named by its size: ordinalette_16.png.
    std::map<int, QString> files;
    for (const QFileInfo& file : QDir(QStringLiteral(":/icons")).entryInfoList(QDir::Files)) {
        if (const int size = file.baseName().section(u'_', -1).toInt(); size > 0)
            files.emplace(size, file.filePath());
    }
    return QIcon(new SizedFilesIconEngine(std::move(files)));
}
QPixmap bbok() {
    return QPixmap(bbok_xpm);
}
QPixmap bbcancel() {
    return QPixmap(bbcancel_xpm);
}

} // namespace ordinalette::app::images
