#include "support/window_fixture.h"

#include <QAction>
#include <QDir>
#include <QMessageBox>

namespace kavrin::testing {
namespace {

using HelpTest = WindowTest;

TEST_F(HelpTest, TheVersionBoxTellsWhatRunsAndWhereItKeepsItsFilesAndReturnClosesIt) {
  ui.modalScripts.push_back([this](QDialog &dialog) { // the fixture fails a script left unused
    auto &box = static_cast<QMessageBox &>(dialog);
    EXPECT_EQ(box.windowTitle(), "kavrin のバージョン情報");
    const QStringList lines = box.text().split(u'\n');
    for (const QString &line :
         {QStringLiteral("kavrin " KAVRIN_EXPECTED_VERSION), QStringLiteral("ライセンス: MIT License"),
          QStringLiteral("Qt のバージョン: ") + QLatin1String(qVersion()),
          QDir::toNativeSeparators(iniPath()), QDir::toNativeSeparators(paths().stateDir)}) {
      EXPECT_TRUE(lines.contains(line)) << line.toStdString();
    }
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.clickedButton(), box.button(QMessageBox::Ok));
    EXPECT_FALSE(box.isVisible());
  });
  window->command("about")->trigger();

  window->command("aboutQt")->trigger();
  EXPECT_EQ(ui.aboutQtBoxes, 1);
}

} // namespace
} // namespace kavrin::testing
