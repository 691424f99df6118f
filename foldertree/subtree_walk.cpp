#include "foldertree/subtree_walk.h"

#include "foldertree/shell_tree.h"

#include <algorithm>

namespace ordinalette::foldertree {

bool SubtreeWalk::start(TShellFolderItem& node) {
    // The walk starts only from a folder of the file system, and not through a link either.
    if (!m_tree.pathOf(node) || (node.Level() > 0 && node.hasAttribute(ShellAttribute::Link)))
        return false;
    if (m_queue.empty()) {
        const auto mountPoints = m_tree.shellNamespace().mountPoints();
        m_mountPoints = {mountPoints.begin(), mountPoints.end()};
    }
    queueChildren(node);
    return true;
}

bool SubtreeWalk::step(std::chrono::milliseconds slice) {
    const auto keepOpen = m_tree.shellNamespace().keepFoldersOpen();
    const auto until = std::chrono::steady_clock::now() + slice;
    while (!m_queue.empty() && std::chrono::steady_clock::now() < until) {
        TShellFolderItem* node = m_queue.front();
        m_queue.pop_front();
        // A node hidden by a collapse meanwhile is left alone.
        if (!ShellTree::shown(node) || !staysOnVolume(*node))
            continue;
        if (!node->expanded && m_tree.showsButton(*node))
            m_tree.expandNode(node);
        queueChildren(*node);
    }
    return !m_queue.empty();
}

void SubtreeWalk::forget(const TShellFolderItem& parent, std::size_t first, std::size_t last) {
    std::erase_if(m_queue, [&](const TShellFolderItem* queued) {
        for (const TShellFolderItem* node = queued; node; node = node->parent) {
            if (node->parent == &parent) {
                const auto row = static_cast<std::size_t>(node->row());
                return row >= first && row <= last;
            }
        }
        return false;
    });
}

bool SubtreeWalk::staysOnVolume(TShellFolderItem& node) {
    if (node.hasAttribute(ShellAttribute::Link))
        return false;
    const auto path = m_tree.pathOf(node);
    return path && !m_mountPoints.contains(*path);
}

void SubtreeWalk::queueChildren(const TShellFolderItem& node) {
    for (const auto& child : node.children)
        m_queue.push_back(child.get());
}

} // namespace ordinalette::foldertree
