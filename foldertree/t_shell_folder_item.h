#pragma once

#include "foldertree/shell_namespace.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ordinalette::foldertree {

// The kinds of items the tree tells apart.
enum class TShItemIDType : std::uint8_t {
    itDeskTop,
    itMyComputer,
    itRootDrive,
    itFolder,
    itFile,
    itInterNet,
    itBitBucket,
    itNetWork,
    itVirtual,
    itUnknown
};

// A set of item kinds, bit n standing for the kind of ordinal n.
class TShVirtuaItems {
public:
    constexpr TShVirtuaItems() = default;
    constexpr TShVirtuaItems(std::initializer_list<TShItemIDType> kinds) {
        for (const auto kind : kinds)
            m_bits |= bit(kind);
    }
    constexpr bool contains(TShItemIDType kind) const { return m_bits & bit(kind); }

private:
    static constexpr std::uint16_t bit(TShItemIDType kind) {
        return static_cast<std::uint16_t>(1u << static_cast<unsigned>(kind));
    }
    std::uint16_t m_bits = 0;
};

// One node of the folder tree: the item's identifier lists, what the tree has already asked of
// the namespace about it (parent, display name, image, subfolders) and the nodes below it, which
// it owns.
class TShellFolderItem {
public:
    // parentFolder may be given when the caller already holds it (the folder it enumerated).
    TShellFolderItem(ShellNamespace& ns, ItemIdList itemId, ItemIdList absoluteId,
                     std::shared_ptr<ShellFolder> parentFolder = nullptr);

    // Relative list in the parent folder (for the root: the desktop directory's absolute list).
    ItemIdList ItemID;
    // Absolute list (for the root: the desktop's, the empty list).
    ItemIdList AbsoluteID;
    // The node above in the tree; null for the root and while the record is only a candidate.
    TShellFolderItem* parent = nullptr;
    // The nodes below, in the folder's order.
    std::vector<std::unique_ptr<TShellFolderItem>> children;
    // Whether the node shows its children (every ancestor may still be collapsed).
    bool expanded = false;
    // Whether children must be read again before they are shown: never read, or collapsed since.
    bool stale = true;
    // Whether the last reading of the folder failed (an unreadable folder).
    bool unreadable = false;
    // Whether the node shows an expand button: known from the last reading, else probed when
    // first needed; empty until then.
    std::optional<bool> hasButton;
    // Whether hasButton is to be probed again when next needed; it stands until then.
    bool probeAgain = false;
    // Cached image index (ShellTree::imageIndexOf). Empty until first asked for, emptied when
    // it must be asked again.
    std::optional<int> imageIndex;

    int Level() const { return static_cast<int>(AbsoluteID.size()); }
    // The node's place among its parent's children; 0 for the root.
    int row() const;
    // Tells the node where it now stands, after its siblings changed.
    void noteRow(std::size_t row) const { m_rowHint = row; }
    // Absolute list of the parent; the desktop's for level 1. Cached.
    const ItemIdList& ParentID();
    // The parent's folder object (the desktop's for levels 0 and 1); null when it cannot be
    // had. Kept once obtained.
    std::shared_ptr<ShellFolder> ParentFolder();
    // The in-folder display name; cached once obtained, asked again while it cannot be had.
    const std::string& DisplayName();
    void setDisplayName(std::string name) { m_displayName = std::move(name); }
    // Replaces the identifiers after a rename and forgets what was cached about the old ones.
    void rename(ItemIdList itemId, ItemIdList absoluteId);
    // Tests an attribute by asking the parent folder; a failed query counts as not set.
    bool hasAttribute(ShellAttribute flag);

private:
    ShellNamespace& m_ns;
    std::optional<ItemIdList> m_parentId;
    // Where the node stood among its siblings when last looked up; checked before it is used.
    mutable std::size_t m_rowHint = 0;
    std::shared_ptr<ShellFolder> m_parentFolder;
    std::string m_displayName;
};

} // namespace ordinalette::foldertree
