#pragma once

#include <QModelIndex>
#include <QStringList>
#include <string>

namespace ordinalette::foldertree::testing {

// The child of a node with that text, or an invalid index.
QModelIndex childNamed(const QModelIndex& node, const QString& text);
// The drive node under My Computer that shows that mount point, or an invalid index.
QModelIndex driveNamed(const QModelIndex& computer, const std::string& mountPoint);
// The texts of a node's children in order.
QStringList childTexts(const QModelIndex& node);

} // namespace ordinalette::foldertree::testing
