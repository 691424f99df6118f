#include "app/tree/shell_tree_model.h"
#include "app/tree/tests/tree_nodes.h"
#include "foldertree/tests/namespace_fixture.h"

#include <gtest/gtest.h>

namespace ordinalette::foldertree {
namespace {

using testing::childNamed;
using testing::childTexts;
using testing::NamespaceFixture;

// The model over the fixture's namespace.
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

    NamespaceFixture fixture;
    ShellTreeModel model{fixture.shellNamespace()};
};

TEST_F(ModelTest, TheDesktopHoldsItsFixedItemsAndMyComputerItsDrivesWithoutAView) {
    EXPECT_EQ(root().data().toString(), "デスクトップ");
    EXPECT_EQ(childTexts(root()), (QStringList{"コンピュータ", "ネットワーク", "ごみ箱"}));
    EXPECT_EQ(model.rowCount(computer()), 3);
    // Nothing below the drives is read until they expand.
    EXPECT_TRUE(model.canFetchMore(driveNode("d")));
    EXPECT_EQ(model.rowCount(driveNode("d")), 0);
}

} // namespace
} // namespace ordinalette::foldertree
