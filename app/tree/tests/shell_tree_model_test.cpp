#include "app/tree/shell_tree_model.h"
#include "app/tree/tests/tree_nodes.h"
#include "foldertree/tests/namespace_fixture.h"

#include <QSignalSpy>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace ordinalette::foldertree {
namespace {

using testing::childNamed;
using testing::childTexts;
using testing::NamespaceFixture;

// The real namespace, except that the folders of the given names cannot be enumerated, as
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
            return m_owner.wrap(m_real->bindToObject(item),
                                !item.empty() && m_owner.names.contains(item.back().name));
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

// The model over the fixture's namespace, whose folders are all readable until a test names
// some.
class ModelTest : public ::testing::Test {
protected:
    ModelTest() {
        EXPECT_TRUE(model.tree().BuildRoot());
        model.tree().expandNode(model.tree().root());
        model.tree().expandNode(model.tree().root()->children.front().get());
    }

    QModelIndex root() const { return model.index(0, 0); }
    QModelIndex computer() const { return model.index(0, 0, root()); }
    QModelIndex driveNode(const std::string& name) const {
        return childNamed(computer(),
                          QString::fromStdString(name + " (" + fixture.drive(name) + ")"));
    }
    // Finds the node of a path, expanding its ancestors.
    QModelIndex open(const std::string& path) {
        const auto list = model.tree().shellNamespace().parseDisplayName(path);
        return list ? model.indexOf(model.tree().FindNode(*list)) : QModelIndex();
    }
    TShellFolderItem* record(const QModelIndex& index) { return ShellTreeModel::recordOf(index); }

    NamespaceFixture fixture;
    std::shared_ptr<UnreadableFolders> unreadable =
        std::make_shared<UnreadableFolders>(fixture.shellNamespace());
    ShellTreeModel model{unreadable};
};

TEST_F(ModelTest, TheDesktopHoldsItsFixedItemsAndMyComputerItsDrivesWithoutAView) {
    EXPECT_EQ(root().data().toString(), "デスクトップ");
    EXPECT_EQ(childTexts(root()), (QStringList{"コンピュータ", "ネットワーク", "ごみ箱"}));
    EXPECT_EQ(model.rowCount(computer()), 3);
    EXPECT_EQ(model.tree().ItemType(*record(driveNode("d"))), TShItemIDType::itRootDrive);
    EXPECT_EQ(model.tree().ItemType(*record(model.index(2, 0, root()))),
              TShItemIDType::itBitBucket);
    // Nothing below the drives is read until they expand.
    EXPECT_TRUE(model.canFetchMore(driveNode("d")));
    EXPECT_EQ(model.rowCount(driveNode("d")), 0);
}

TEST_F(ModelTest, FindNodeOpensTheWayToAFolderAndGivesTheRootForWhatItNeverShows) {
    fixture.dir().makeDir("d/photos/2024");
    fixture.dir().writeFile("d/photos/a.jpg");
    const QModelIndex year = open(fixture.drive("d") + "/photos/2024");
    ASSERT_TRUE(year.isValid());
    EXPECT_EQ(year.data().toString(), "2024");
    EXPECT_EQ(model.tree().pathOf(*record(year)), fixture.drive("d") + "/photos/2024");
    EXPECT_TRUE(record(driveNode("d"))->expanded);
    EXPECT_TRUE(record(year.parent())->expanded);
    EXPECT_EQ(open(fixture.drive("d") + "/photos/a.jpg"), root());
}

TEST_F(ModelTest, HiddenFoldersAreListedAndFilesNever) {
    fixture.dir().makeDir("d/.config");
    fixture.dir().makeDir("d/Music");
    fixture.dir().writeFile("d/readme.txt");
    open(fixture.drive("d") + "/Music");
    EXPECT_EQ(childTexts(driveNode("d")), (QStringList{".config", "Music"}));
    model.tree().SetIncludeHidden(false);
    EXPECT_EQ(childTexts(driveNode("d")), (QStringList{"Music"}));
}

TEST_F(ModelTest, RefreshTreeMergesChangesAndKeepsTheNodesThatStay) {
    for (const char* name : {"alpha", "beta/inner", "gamma", "delta"})
        fixture.dir().makeDir(std::string("d/") + name);
    const QPersistentModelIndex inner = open(fixture.drive("d") + "/beta/inner");
    const QModelIndex d = driveNode("d");
    ASSERT_EQ(childTexts(d), (QStringList{"alpha", "beta", "delta", "gamma"}));
    const TShellFolderItem* alpha = record(model.index(0, 0, d));
    const TShellFolderItem* beta = record(model.index(1, 0, d));

    fixture.dir().makeDir("d/Bar");
    fixture.dir().makeDir("d/epsilon");
    std::filesystem::remove(fixture.drive("d") + "/delta");
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    model.tree().RefreshTree();

    EXPECT_EQ(childTexts(d), (QStringList{"alpha", "Bar", "beta", "epsilon", "gamma"}));
    EXPECT_EQ(record(model.index(0, 0, d)), alpha);
    EXPECT_EQ(record(model.index(2, 0, d)), beta);
    EXPECT_TRUE(beta->expanded);
    EXPECT_TRUE(inner.isValid());
    EXPECT_EQ(inner.parent(), model.index(2, 0, d));
    EXPECT_EQ(inserted.count(), 2); // one row each, nothing re-inserted

    // Nothing changed: nothing moves.
    inserted.clear();
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    model.tree().RefreshTree();
    EXPECT_EQ(inserted.count() + removed.count(), 0);
}

TEST_F(ModelTest, AnExpandedFolderThatLostItsLastSubfolderShowsTheNextOne) {
    fixture.dir().makeDir("d/box/first");
    const QModelIndex box = open(fixture.drive("d") + "/box/first").parent();
    ASSERT_TRUE(record(box)->expanded);

    std::filesystem::remove(fixture.drive("d") + "/box/first");
    model.tree().RefreshTree();
    EXPECT_EQ(model.rowCount(box), 0);
    EXPECT_FALSE(model.showsButton(box));

    fixture.dir().makeDir("d/box/second");
    model.tree().RefreshTree();
    EXPECT_EQ(childTexts(box), QStringList{"second"});
    EXPECT_TRUE(model.showsButton(box));
}

TEST_F(ModelTest, TheFixedItemsStayWhileTheDesktopDirectoryIsAwayAndItsFoldersComeBack) {
    fixture.dir().makeDir("c/home/me/Desktop/projects");
    model.tree().RefreshTree();
    ASSERT_EQ(childTexts(root()),
              (QStringList{"コンピュータ", "projects", "ネットワーク", "ごみ箱"}));
    const QPersistentModelIndex computerKept = computer();

    std::filesystem::rename(fixture.desktop(), fixture.desktop() + ".away");
    model.tree().RefreshTree();
    EXPECT_EQ(childTexts(root()), (QStringList{"コンピュータ", "ネットワーク", "ごみ箱"}));
    EXPECT_EQ(computerKept, computer()); // My Computer keeps its node and its drives
    EXPECT_EQ(model.rowCount(computer()), 3);
    // The folder that held the desktop directory is watched until it is back.
    const auto watched = model.tree().visibleFolders();
    EXPECT_EQ(std::count(watched.begin(), watched.end(), fixture.drive("c") + "/home/me"), 1);

    std::filesystem::rename(fixture.desktop() + ".away", fixture.desktop());
    model.tree().RefreshTree();
    EXPECT_EQ(childTexts(root()),
              (QStringList{"コンピュータ", "projects", "ネットワーク", "ごみ箱"}));
    const auto back = model.tree().visibleFolders();
    EXPECT_EQ(std::count(back.begin(), back.end(), fixture.drive("c") + "/home/me"), 0);
}

TEST_F(ModelTest, AnUnreadableFolderKeepsNoButtonUntilItCanBeReadAgain) {
    fixture.dir().makeDir("d/locked/inside");
    const QModelIndex locked = open(fixture.drive("d") + "/locked");
    ASSERT_EQ(locked.data().toString(), "locked");
    EXPECT_TRUE(model.showsButton(locked)); // the probe sees a subfolder

    unreadable->names = {"locked"};
    EXPECT_FALSE(model.tree().expandNode(record(locked)));
    EXPECT_FALSE(model.showsButton(locked));
    model.tree().RefreshTree();
    EXPECT_FALSE(model.showsButton(locked));

    unreadable->names.clear();
    model.tree().RefreshTree();
    EXPECT_TRUE(model.showsButton(locked));
    EXPECT_TRUE(model.tree().expandNode(record(locked)));
    EXPECT_EQ(childTexts(locked), QStringList{"inside"});
}

} // namespace
} // namespace ordinalette::foldertree
