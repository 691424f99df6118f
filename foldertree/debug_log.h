#pragma once

#include <QLoggingCategory>

namespace ordinalette::foldertree {

// The debug messages of the folder tree and its watcher, "ordinalette.foldertree"; off unless
// the logging rules (QT_LOGGING_RULES) turn them on.
Q_DECLARE_LOGGING_CATEGORY(lcFolderTree)

} // namespace ordinalette::foldertree
