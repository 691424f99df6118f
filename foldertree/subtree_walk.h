#pragma once

#include "foldertree/t_shell_folder_item.h"

#include <chrono>
#include <cstddef>
#include <deque>
#include <string>
#include <unordered_set>

namespace ordinalette::foldertree {

class ShellTree;

// Expands a whole subtree (the keypad's "*") a slice at a time, so that the window keeps working
// while a volume of a great many folders is read: breadth first, every folder below the start
// that lies on the same volume and is reached without a link.
class SubtreeWalk {
public:
    explicit SubtreeWalk(ShellTree& tree) : m_tree(tree) {}

    // Walks below the node from the next slice on, beside a walk still going; false when the node
    // is no folder of the file system or a link, where no walk starts.
    bool start(TShellFolderItem& node);
    // Expands the next nodes until the slice's time has passed; false once the walk is done.
    bool step(std::chrono::milliseconds slice);
    bool walking() const { return !m_queue.empty(); }
    // The children first to last of parent are about to be deleted: the walk leaves them.
    void forget(const TShellFolderItem& parent, std::size_t first, std::size_t last);
    void clear() { m_queue.clear(); }

private:
    // Whether the walk may expand the node: a folder of the file system, no link, no other
    // volume's mount point.
    bool staysOnVolume(TShellFolderItem& node);
    void queueChildren(const TShellFolderItem& node);

    ShellTree& m_tree;
    std::deque<TShellFolderItem*> m_queue; // expanded next, first to last
    std::unordered_set<std::string> m_mountPoints;
};

} // namespace ordinalette::foldertree
