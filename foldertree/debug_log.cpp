#include "foldertree/debug_log.h"

namespace ordinalette::foldertree {

Q_LOGGING_CATEGORY(lcFolderTree, "ordinalette.foldertree", QtInfoMsg)

} // namespace ordinalette::foldertree
