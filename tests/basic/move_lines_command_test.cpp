#include "support/window_fixture.h"

#include "widgets/basic_dialogs.h"

#include <QAction>
#include <QLineEdit>

namespace kavrin::testing {
namespace {

using MoveLinesTest = WindowTest;

TEST_F(MoveLinesTest, MovesTheTouchedLinesAsOneUndoStepAndSelectsThem) {
  const QString program = QStringLiteral("10 GOTO 40\n20 A\n' x\n30 B\n40 GOTO 20:LIST 30-40\n");
  editor().setText(program);
  // From inside line 20 to the start of line 30, which is not touched.
  editor().setSelStart(static_cast<int>(program.indexOf(u'A')));
  editor().setSelLength(static_cast<int>(program.indexOf(u"30") - program.indexOf(u'A')));
  fillNextDialog({"50", "5"});
  window->command("moveLines")->trigger();
  EXPECT_EQ(text(), "10 GOTO 40\n30 B\n40 GOTO 50:LIST 30-40\n50 A\n' x\n");
  EXPECT_EQ(editor().selText(), "50 A\n' x");
  EXPECT_TRUE(editor().modified());
  EXPECT_TRUE(ui.messages.empty());
  window->command("undo")->trigger();
  EXPECT_EQ(text(), program);

  // The caret's line alone, with the values kept.
  editor().setSelStart(static_cast<int>(program.indexOf(u"30")));
  ui.modalScripts.push_back([](QDialog &dialog) {
    auto &move = static_cast<MoveLinesDialog &>(dialog);
    EXPECT_EQ(move.newStart()->text(), "50");
    EXPECT_EQ(move.increment()->text(), "5");
    move.newStart()->setText("5");
    dialog.accept();
  });
  window->command("moveLines")->trigger();
  EXPECT_EQ(text(), program);
  ASSERT_EQ(ui.messages.size(), 1U);
  EXPECT_EQ(ui.messages[0].text, "行 40 の範囲指定が、番号を変えた後には元と同じ行だけを指せなくなります。");
}

} // namespace
} // namespace kavrin::testing
