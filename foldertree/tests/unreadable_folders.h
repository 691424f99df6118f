#pragma once

#include "foldertree/shell_namespace.h"

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace ordinalette::foldertree::testing {

// The real namespace, except that the folders of the given display names cannot be enumerated, as
// folders without read permission cannot (the tests may run with every permission).
class UnreadableFolders : public ShellNamespace {
public:
    explicit UnreadableFolders(std::shared_ptr<ShellNamespace> real) : m_real(std::move(real)) {}

    std::set<std::string> names;

    std::shared_ptr<ShellFolder> desktopFolder() override { return wrap(m_real->desktopFolder()); }
    std::optional<ItemIdList> specialFolderLocation(SpecialFolder folder) override {
        return m_real->specialFolderLocation(folder);
    }
    std::optional<ItemIdList> parseDisplayName(std::string_view path) override {
        return m_real->parseDisplayName(path);
    }
    std::optional<std::string> pathFromIDList(const ItemIdList& item) override {
        return m_real->pathFromIDList(item);
    }
    ItemIdList driveIDList(const std::string& mountPoint) override {
        return m_real->driveIDList(mountPoint);
    }
    std::string volumeRoot(const std::string& path) override { return m_real->volumeRoot(path); }
    std::vector<std::string> mountPoints() override { return m_real->mountPoints(); }
    std::vector<DriveVolume> driveVolumes() override { return m_real->driveVolumes(); }
    void mountTableChanged() override { m_real->mountTableChanged(); }
    KeptFoldersOpen keepFoldersOpen() override { return m_real->keepFoldersOpen(); }
    const platform::CodePage& codePage() const override { return m_real->codePage(); }

private:
    class Folder : public ShellFolder {
    public:
        Folder(UnreadableFolders& owner, std::shared_ptr<ShellFolder> real, bool unreadable)
            : m_owner(owner), m_real(std::move(real)), m_unreadable(unreadable) {}
        std::optional<std::vector<ItemIdList>> enumFolders(bool includeHidden) override {
            if (m_unreadable)
                return std::nullopt;
            return m_real->enumFolders(includeHidden);
        }
        std::optional<int> compareIDs(const ItemIdList& a, const ItemIdList& b) override {
            return m_real->compareIDs(a, b);
        }
        ShellAttribute getAttributesOf(const ItemIdList& item, ShellAttribute mask) override {
            return m_real->getAttributesOf(item, mask);
        }
        std::optional<std::string> getDisplayNameOf(const ItemIdList& item) override {
            return m_real->getDisplayNameOf(item);
        }
        std::shared_ptr<ShellFolder> bindToObject(const ItemIdList& item) override {
            return m_owner.wrap(
                m_real->bindToObject(item),
                m_owner.names.contains(m_real->getDisplayNameOf(item).value_or("")));
        }
        platform::Result<ItemIdList> setNameOf(const ItemIdList& item,
                                               std::string_view newName) override {
            return m_real->setNameOf(item, newName);
        }

    private:
        UnreadableFolders& m_owner;
        std::shared_ptr<ShellFolder> m_real;
        bool m_unreadable;
    };

    std::shared_ptr<ShellFolder> wrap(std::shared_ptr<ShellFolder> real, bool unreadable = false) {
        return real ? std::make_shared<Folder>(*this, std::move(real), unreadable) : nullptr;
    }

    std::shared_ptr<ShellNamespace> m_real;
};

} // namespace ordinalette::foldertree::testing
