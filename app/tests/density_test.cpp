#include "app/controls/t_filter_combo_box.h"
#include "app/tests/form_fixture.h"
#include "foldertree/t_shell_tree_view.h"

#include <QComboBox>
#include <QFontInfo>
#include <QScreen>
#include <gtest/gtest.h>

namespace ordinalette::app {
namespace {

// ctest runs this test once per screen density, setting QT_FONT_DPI for the whole process.
TEST(FormDensity, EveryControlDrawsItsTextInTheWindowsTwelvePixelFont) {
    const int dpi = qEnvironmentVariableIntValue("QT_FONT_DPI");
    ASSERT_GT(dpi, 0) << "run with QT_FONT_DPI set";
    ASSERT_EQ(qRound(QApplication::primaryScreen()->logicalDotsPerInch()), dpi);

    testing::FormFixture fixture;
    ASSERT_TRUE(fixture.showActive());
    TForm1& form = fixture.form;
    const QList<QWidget*> controls = form.findChildren<QWidget*>();
    ASSERT_GT(controls.size(), 19);
    for (QWidget* control : controls) {
        SCOPED_TRACE(std::string(control->metaObject()->className()) + " " +
                     control->objectName().toStdString());
        EXPECT_EQ(QFontInfo(control->font()).pixelSize(), 12);
    }
    // The tree's rows are laid out for the system's small icons of 16 pixels.
    const QAbstractItemModel* tree = form.ShellTreeView1->model();
    for (QModelIndex node = tree->index(0, 0); node.isValid();
         node = form.ShellTreeView1->indexBelow(node)) {
        SCOPED_TRACE(node.data().toString().toStdString());
        EXPECT_EQ(node.data(Qt::DecorationRole).value<QIcon>().availableSizes(),
                  QList<QSize>{QSize(16, 16)});
    }
    // The drop-down list opens in a window of its own, which must not fall back to the
    // application's font either.
    EXPECT_EQ(QFontInfo(form.FilterComboBox1->view()->font()).pixelSize(), 12);
}

} // namespace
} // namespace ordinalette::app
