#include "support/window_fixture.h"

#include "widgets/status_bar.h"

#include <QAction>

namespace kavrin::testing {
namespace {

class KeysTest : public WindowTest {
protected:
  void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(form->RichEdit1, k, modifiers);
  }
  QStringList legend() {
    QStringList texts;
    for (int i = 0; i < 6; ++i) {
      texts << form->StatusBar1->panelText(i);
    }
    return texts;
  }
};

TEST_F(KeysTest, FunctionKeysInsertTheirTexts) {
  key(Qt::Key_F3);
  key(Qt::Key_F3, Qt::ShiftModifier);
  key(Qt::Key_F3, Qt::AltModifier);
  key(Qt::Key_F3, Qt::ControlModifier);
  EXPECT_EQ(text(), "GOTO PRINT GOTO ");
}

TEST_F(KeysTest, AKeyTextWithALineBreakGetsNoNumberEvenWithAuto) {
  ASSERT_TRUE(form->AUTO1->isChecked());
  type("10 CLS");
  key(Qt::Key_End);
  key(Qt::Key_Return);
  key(Qt::Key_F5);
  EXPECT_EQ(text(), "10 CLS\n20 RUN\n");
}

TEST_F(KeysTest, AFunctionKeyFollowsAShownCompletion) {
  type("10 pri");
  key(Qt::Key_Tab);
  key(Qt::Key_F1);
  EXPECT_EQ(text(), "10 priNTCOLOR ");
}

TEST_F(KeysTest, ShiftSwapsTheLegend) {
  EXPECT_EQ(legend(), QStringList({"COLOR ", "CLOAD\"", "GOTO ", "LIST ", "RUN\r\n", "INS"}));
  QTest::keyPress(form->RichEdit1, Qt::Key_Shift, Qt::ShiftModifier);
  EXPECT_EQ(legend(), QStringList({"SCREEN ", "CSAVE\"", "PRINT ", "PLAY ", "CONT\r\n", "INS"}));
  QTest::keyRelease(form->RichEdit1, Qt::Key_Shift, Qt::NoModifier);
  EXPECT_EQ(legend()[0], "COLOR ");
}

TEST_F(KeysTest, InsertSwitchesTheLegendAndTheTyping) {
  type("10 PRINT");
  key(Qt::Key_Home);
  key(Qt::Key_Insert);
  EXPECT_EQ(legend()[5], "OVW");
  EXPECT_FALSE(form->InsertMode);
  type("20");
  EXPECT_EQ(text(), "20 PRINT");
  key(Qt::Key_Insert);
  EXPECT_EQ(legend()[5], "INS");
  type("0");
  EXPECT_EQ(text(), "200 PRINT");
}

TEST_F(KeysTest, ReturnWithAutoNumbersTheNextLine) {
  type("10 PRINT");
  key(Qt::Key_Return);
  type("A");
  key(Qt::Key_Enter, Qt::KeypadModifier);
  type("B");
  key(Qt::Key_Return, Qt::ShiftModifier);
  type("C");
  key(Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(text(), "10 PRINT\n20 A\n30 B\n40 C\n50 ");
  EXPECT_FALSE(text().contains(QChar(0x2028)));
}

TEST_F(KeysTest, ReturnKeepsAShownCompletion) {
  type("10 pri");
  key(Qt::Key_Tab);
  key(Qt::Key_Return);
  EXPECT_EQ(text(), "10 priNT\n20 ");
  EXPECT_FALSE(form->CompActive);
  // With AUTO off the editor's own line break keeps it too.
  form->AUTO1->trigger();
  EXPECT_FALSE(form->AUTO1->isChecked());
  type("go");
  key(Qt::Key_Tab);
  key(Qt::Key_Return);
  EXPECT_EQ(text(), "10 priNT\n20 goSUB\n");
}

TEST_F(KeysTest, UndoTakesBackTheNumberedLineBreak) {
  type("10 A");
  key(Qt::Key_Return);
  form->Undo1->trigger();
  EXPECT_EQ(text(), "10 A");
}

} // namespace
} // namespace kavrin::testing
