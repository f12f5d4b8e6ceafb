#include "app/application.h"
#include "support/window_fixture.h"
#include "widgets/status_bar.h"

#include <QAction>
#include <QApplication>
#include <QFile>

namespace kavrin::testing {
namespace {

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, ClosingAsksAboutChangesAndCancelKeepsTheWindow) {
  type("10 END");
  ui.answers = {MsgResult::Cancel, MsgResult::No};
  form->command("exit")->trigger();
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(QFile::exists(iniPath())); // nor writes the settings
  form->command("exit")->trigger();
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(QFile::exists(iniPath()));
}

TEST_F(MainWindowTest, StatusPanelsShareTheOuterWidth) {
  for (const auto &[width, panel] : {std::pair{600, 100}, {605, 100}, {541, 90}}) {
    form->setOuterGeometry({0, 0, width, 300});
    ASSERT_EQ(form->frameGeometry().width(), width);
    for (int i = 0; i < PanelStatusBar::kPanelCount; ++i) {
      EXPECT_EQ(form->panels().panelWidth(i), panel) << width;
    }
  }
}

TEST(StartUp, TheFirstArgumentOpensAndAMissingOneEndsStartUp) {
  ScriptedUserInterface ui;
  TempDir dir;
  const QString a = dir.write("a.txt", "10 CLS\r\n");
  const auto form = createMainWindow(ui, {a, dir.write("b.txt", "B")}, testPaths(dir));
  ASSERT_TRUE(form);
  EXPECT_EQ(form->editor().toPlainText(), "10 CLS\n");
  EXPECT_EQ(form->windowTitle(), "a.txt - kavrin");
  EXPECT_FALSE(form->editor().modified());

  EXPECT_FALSE(createMainWindow(ui, {dir.path("none.txt")}, testPaths(dir)));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].text.contains("none.txt"));
}

} // namespace
} // namespace kavrin::testing
