#include "app/tree/tests/tree_nodes.h"

namespace ordinalette::foldertree::testing {

QModelIndex childNamed(const QModelIndex& node, const QString& text) {
    for (int i = 0; node.isValid() && i < node.model()->rowCount(node); ++i) {
        if (node.model()->index(i, 0, node).data().toString() == text)
            return node.model()->index(i, 0, node);
    }
    return {};
}

QModelIndex driveNamed(const QModelIndex& computer, const std::string& mountPoint) {
    const QString shown = "(" + QString::fromStdString(mountPoint) + ")";
    for (int i = 0; computer.isValid() && i < computer.model()->rowCount(computer); ++i) {
        if (computer.model()->index(i, 0, computer).data().toString().endsWith(shown))
            return computer.model()->index(i, 0, computer);
    }
    return {};
}

QStringList childTexts(const QModelIndex& node) {
    QStringList texts;
    for (int i = 0; node.isValid() && i < node.model()->rowCount(node); ++i)
        texts << node.model()->index(i, 0, node).data().toString();
    return texts;
}

} // namespace ordinalette::foldertree::testing
