#include "support/window_fixture.h"

#include "basic/basic_tools.h"
#include "basic/jump_commands.h"
#include "widgets/basic_dialogs.h"
#include "widgets/jump_history.h"
#include "widgets/result_panel.h"

#include <QAction>
#include <QApplication>
#include <QListView>
#include <QTextBlock>

namespace kavrin::testing {
namespace {

const QString kProgram = QStringLiteral("10 GOSUB 100:GOTO 35\n"
                                        "20 PRINT \"GOTO 100\"\n"
                                        "30 IF ERL<35 OR ERL>=200 THEN END\n"
                                        "40 ON X GOTO 100,999\n"
                                        "100 RETURN");

class JumpTest : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    editor().setText(kProgram);
  }
  void caretTo(int line, int column) {
    QTextCursor caret(editor().document()->findBlockByNumber(line));
    caret.setPosition(caret.position() + column);
    editor().setTextCursor(caret);
  }
  QPoint caret() { return {editor().textCursor().blockNumber(), editor().textCursor().positionInBlock()}; }
  void key(QKeyCombination combination) {
    QTest::keyClick(&editor(), combination.key(), combination.keyboardModifiers());
  }
  bool enabled(const char *name) { return window->command(name)->isEnabled(); }
};

TEST_F(JumpTest, F12GoesToTheLineAReferenceNames) {
  const struct {
    int line, column;
    QPoint to; // line, column
    int beeps;
    const char *message;
  } cases[] = {
      {0, 9, {4, 0}, 0, ""},  // on GOSUB's number
      {0, 20, {3, 0}, 1, ""}, // no line 35: the next higher
      {3, 19, {3, 19}, 0, "行 999 はありません"},
      {2, 3, {2, 3}, 1, ""}, // on no reference
      // ERL bounds: the lines from the first at or above them
      {2, 10, {3, 0}, 0, "35 は ERL の境目です。35 以上の最初の行は 行 40 です。"},
      {2, 22, {2, 22}, 0, "200 は ERL の境目です。200 以上の行はありません。"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(::testing::Message() << c.line << ':' << c.column);
    ui.beeps = 0;
    ui.messages.clear();
    caretTo(c.line, c.column);
    key(Qt::Key_F12);
    EXPECT_EQ(caret(), c.to);
    EXPECT_EQ(ui.beeps, c.beeps);
    EXPECT_EQ(ui.messageTexts().join(u'|'), QString::fromUtf8(c.message));
  }
}

TEST_F(JumpTest, BackAndForwardRetraceTheJumpsAndFollowEdits) {
  EXPECT_FALSE(enabled("back"));
  EXPECT_FALSE(enabled("forward"));
  caretTo(0, 10);
  key(Qt::Key_F12); // to 100
  caretTo(4, 2);
  fillNextDialog({"30"});
  window->command("goToLine")->trigger(); // to 30
  EXPECT_EQ(caret(), QPoint(2, 0));
  EXPECT_TRUE(enabled("back"));
  EXPECT_FALSE(enabled("forward"));

  caretTo(0, 0);
  editor().textCursor().insertText("5 REM\n"); // every line moves down one
  caretTo(1, 9);
  editor().textCursor().insertText("1"); // the place's column is kept, ...
  editor().setTextCursor(QTextCursor(editor().document()->findBlockByNumber(3)));
  key(Qt::ALT | Qt::Key_Left);
  EXPECT_EQ(caret(), QPoint(5, 2)); // where Ctrl+G was given
  key(Qt::ALT | Qt::Key_Left);
  EXPECT_EQ(caret(), QPoint(1, 10));
  EXPECT_FALSE(enabled("back"));
  key(Qt::ALT | Qt::Key_Right);
  EXPECT_EQ(caret(), QPoint(5, 2));
  editor().setSelStart(15); // from line 1's column 9 to its end
  editor().setSelLength(12);
  editor().setSelText({}); // ... within the line's length
  key(Qt::ALT | Qt::Key_Left);
  EXPECT_EQ(caret(), QPoint(1, 9));
  key(Qt::ALT | Qt::Key_Right);
  key(Qt::ALT | Qt::Key_Right);
  EXPECT_EQ(caret(), QPoint(3, 0));
  EXPECT_FALSE(enabled("forward"));

  key(Qt::ALT | Qt::Key_Left);
  key(Qt::ALT | Qt::Key_Left);
  caretTo(4, 14);
  key(Qt::Key_F12); // a new jump drops the places gone back from
  EXPECT_FALSE(enabled("forward"));
  // The place's line deleted: it is dropped, and back goes to the one before.
  QTextCursor line(editor().document()->findBlockByNumber(4));
  line.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
  line.removeSelectedText();
  EXPECT_FALSE(enabled("back"));
  key(Qt::ALT | Qt::Key_Left);
  EXPECT_EQ(caret(), QPoint(4, 0));
}

TEST_F(JumpTest, TheLatestHundredPlacesAreKept) {
  JumpHistory &history = window->findChild<basic::BasicTools *>()->history();
  for (int i = 0; i < 450; ++i) {
    caretTo(i % 5, i % 3);
    history.remember();
  }
  for (int i = 449; i >= 350; --i) {
    ASSERT_TRUE(enabled("back"));
    history.back();
    ASSERT_EQ(caret(), QPoint(i % 5, i % 3)) << i;
  }
  EXPECT_FALSE(enabled("back"));
  caretTo(0, 0);
  history.remember();
  editor().setModified(false);
  window->command("new")->trigger(); // a new text: no place is on it
  EXPECT_FALSE(enabled("back"));
  QCoreApplication::processEvents();
  key(Qt::Key_1); // typing moves the document's cursors: none of them freed
  EXPECT_EQ(editor().document()->firstBlock().text().front(), u'1');
}

TEST_F(JumpTest, PlacesAndListRowsFollowTheirLinesThroughEachToolItsUndoAndRedo) {
  JumpHistory &history = window->findChild<basic::BasicTools *>()->history();
  const QString program = QStringLiteral("10 GOSUB 100\n20 GOTO 100\n30 END\n100 RETURN\n");
  const struct {
    QString text;
    const char *command;
    int toolLine; // where the caret is for the tool
    QStringList fields;
    QPoint back;
    int listed;       // the line of the list's first row
    QString shown;    // that line's text after the tool
    QString referred; // the number the list's summary names after the tool
  } cases[] = {
      {program, "moveLines", 3, {"1000", "10"}, {1, 3}, 0, "10 GOSUB 1000", "1000"},
      {program, "renumber", 3, {"100", "100", "", ""}, {1, 3}, 0, "100 GOSUB 400", "400"},
      {program + "5 REM\n", "sortLines", 3, {}, {2, 3}, 1, "10 GOSUB 100", "100"},
      {program, "moveLines", 0, {"25", "10"}, {0, 3}, 0, "20 GOTO 100", "100"}, // the rows swap
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.command);
    editor().setText(c.text);
    caretTo(1, 3);
    history.remember();
    caretTo(3, 0);
    key(Qt::SHIFT | Qt::Key_F12);
    const ResultPanel &panel = *window->findChild<ResultPanel *>();
    const ResultRows &list = panel.rows(ResultTab::References);
    if (!c.fields.isEmpty()) {
      fillNextDialog(c.fields);
    }
    caretTo(c.toolLine, 0);
    window->command(c.command)->trigger();
    const QString rewritten = editor().text();
    EXPECT_NE(rewritten, c.text);
    // After the tool, its undo, its redo: back to the place and forward again.
    for (const bool undone : {false, true, false}) {
      EXPECT_EQ(editor().text(), undone ? c.text : rewritten);
      EXPECT_EQ(panel.summary(ResultTab::References),
                QStringLiteral("行 %1 を参照している行: 2 行").arg(undone ? "100" : c.referred));
      EXPECT_LT(list.lineOf(0), list.lineOf(1));
      const QString shown = undone ? QStringLiteral("10 GOSUB 100") : c.shown;
      EXPECT_EQ(list.label(0), QStringLiteral("行 %1: %2").arg(shown.section(u' ', 0, 0), shown));
      key(Qt::ALT | Qt::Key_Left);
      EXPECT_EQ(caret(), undone ? QPoint(1, 3) : c.back);
      key(Qt::ALT | Qt::Key_Right);
      undone ? editor().redo() : editor().undo();
    }
  }
}

TEST_F(JumpTest, ShiftF12ListsTheLinesReferringToTheCaretLine) {
  caretTo(4, 1);
  key(Qt::SHIFT | Qt::Key_F12);
  ResultPanel &panel = *window->findChild<ResultPanel *>();
  QListView *list = panel.view(ResultTab::References);
  ASSERT_TRUE(panel.isVisible() && panel.visibleTab() == ResultTab::References);
  EXPECT_EQ(QApplication::focusWidget(), list);
  EXPECT_EQ(panel.summary(ResultTab::References), "行 100 を参照している行: 2 行");
  ASSERT_EQ(list->model()->rowCount(), 2);
  EXPECT_EQ(panel.rows(ResultTab::References).label(0), "行 10: 10 GOSUB 100:GOTO 35");
  EXPECT_EQ(panel.rows(ResultTab::References).label(1), "行 40: 40 ON X GOTO 100,999");

  QTest::keyClick(list, Qt::Key_Return); // the first line of the text is a line too
  EXPECT_EQ(editor().selText(), "10 GOSUB 100:GOTO 35");
  EXPECT_EQ(QApplication::focusWidget(), &editor());
  caretTo(0, 0);
  editor().textCursor().insertText("5 REM\n");
  list->setCurrentIndex(list->model()->index(1, 0));
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(editor().selText(), "40 ON X GOTO 100,999");
  EXPECT_TRUE(enabled("back"));

  caretTo(2, 1);
  key(Qt::SHIFT | Qt::Key_F12);
  EXPECT_EQ(ui.messageTexts().join(u'|'), "行 20 を参照している行はありません。");
  EXPECT_EQ(caret(), QPoint(2, 1));
  editor().setText("PRINT 1");
  ui.messages.clear();
  key(Qt::SHIFT | Qt::Key_F12);
  EXPECT_EQ(ui.messageTexts().join(u'|'), "この行には行番号がありません。");
}

TEST_F(JumpTest, InASourceF12GoesToTheLabelAndShiftF12ListsItsUses) {
  window->session().setSourceForm(true);
  editor().setText("*TOP\nGOSUB *Sub:GOTO *top\n  *SUB\t' sub\nRETURN *Sub\nGOTO *NONE");
  const struct {
    int line, column;
    QKeyCombination key;
    QPoint to;
    const char *message;
    const char *summary = nullptr; // of the 参照 tab
  } cases[] = {
      {1, 8, Qt::Key_F12, {2, 0}, ""},
      {1, 18, Qt::Key_F12, {0, 0}, ""},
      {4, 7, Qt::Key_F12, {4, 7}, "ラベル *NONE はありません"},
      {1, 0, Qt::SHIFT | Qt::Key_F12, {1, 0}, "", "*TOP を参照している行: 1 行"}, // the line *TOP names
      {2, 3, Qt::SHIFT | Qt::Key_F12, {2, 3}, ""},
      {4, 0, Qt::SHIFT | Qt::Key_F12, {4, 0}, "この行には行番号もラベルもありません。"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(::testing::Message() << c.line << ':' << c.column);
    ui.messages.clear();
    caretTo(c.line, c.column);
    key(c.key);
    EXPECT_EQ(caret(), c.to);
    EXPECT_EQ(ui.messageTexts().join(u'|'), QString::fromUtf8(c.message));
    if (c.summary != nullptr) {
      EXPECT_EQ(window->findChild<ResultPanel *>()->summary(ResultTab::References), c.summary);
    }
  }
  const ResultPanel &panel = *window->findChild<ResultPanel *>();
  EXPECT_EQ(panel.summary(ResultTab::References), "*SUB を参照している行: 2 行");
  EXPECT_EQ(panel.rows(ResultTab::References).lineOf(1), 3);
  fillNextDialog({"Main"});
  caretTo(2, 3);
  key(Qt::Key_F2); // on the label: the list names it anew, and again after the undo
  EXPECT_EQ(panel.summary(ResultTab::References), "*Main を参照している行: 2 行");
  window->command("undo")->trigger();
  EXPECT_EQ(panel.summary(ResultTab::References), "*SUB を参照している行: 2 行");
}

} // namespace
} // namespace kavrin::testing
