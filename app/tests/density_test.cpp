#include "app/controls/t_filter_combo_box.h"
#include "app/tests/form_fixture.h"
#include "app/tree/t_shell_tree_view.h"
#include "testsupport/temp_dir.h"

#include <QComboBox>
#include <QFontInfo>
#include <QProcess>
#include <QProcessEnvironment>
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

// The window as the user sees it with folders of fixed names in view: those on the desktop,
// with their buttons and lines; the drives, whose names hold the temporary folders' paths,
// scrolled out of view.
QImage windowWithFixedNames() {
    testing::FormFixture fixture;
    for (int i = 10; i < 40; ++i)
        fixture.names.dir().makeDir("c/home/me/Desktop/f" + std::to_string(i) + "/sub");
    fixture.form.ShellTreeView1->RefreshTree();
    EXPECT_TRUE(fixture.showActive());
    fixture.form.ShellTreeView1->scrollToBottom();
    return fixture.form.grab().toImage();
}

// Another process takes the window at 96 dpi (ctest runs this test at every density); with
// ORDINALETTE_DENSITY_SHOT set, this test is that process and only saves the picture there.
TEST(FormDensity, TheWindowLooksAsAt96DpiInEveryPixel) {
    const QString shot = qEnvironmentVariable("ORDINALETTE_DENSITY_SHOT");
    const QImage here = windowWithFixedNames();
    if (!shot.isEmpty()) {
        ASSERT_TRUE(here.save(shot));
        return;
    }
    const testsupport::TempDir dir;
    const QString reference = QString::fromStdString(dir / "96dpi.png");
    QProcess at96;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_FONT_DPI"), QStringLiteral("96"));
    environment.insert(QStringLiteral("ORDINALETTE_DENSITY_SHOT"), reference);
    at96.setProcessEnvironment(environment);
    at96.start(QCoreApplication::applicationFilePath(),
               {QStringLiteral("--gtest_filter=FormDensity.TheWindowLooksAsAt96DpiInEveryPixel")});
    ASSERT_TRUE(at96.waitForFinished(60000));
    ASSERT_EQ(at96.exitCode(), 0) << at96.readAllStandardOutput().toStdString();
    const QImage expected = QImage(reference).convertToFormat(here.format());
    ASSERT_EQ(here.size(), expected.size());
    int differing = 0;
    for (int y = 0; y < here.height(); ++y) {
        for (int x = 0; x < here.width(); ++x)
            differing += here.pixel(x, y) != expected.pixel(x, y) ? 1 : 0;
    }
    EXPECT_EQ(differing, 0);
}

} // namespace
} // namespace ordinalette::app
