#include "support/window_fixture.h"

#include "basic/basic_tools.h"
#include "basic/kept_check.h"
#include "widgets/panel_host.h"
#include "widgets/result_panel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QListView>
#include <QTextBlock>

namespace kavrin::testing {
namespace {

class PanelTest : public WindowTest {
protected:
  void key(QKeyCombination combination) {
    QTest::keyClick(QApplication::focusWidget(), combination.key(), combination.keyboardModifiers());
  }
  ResultPanel &panel() { return *window->findChild<ResultPanel *>(); }
};

TEST_F(PanelTest, F8WalksTheRowsThatNameALineFromTheCaret) {
  // Findings on lines 0, 1, 3 and twice on 3.
  editor().setText("10 LIST 99\n20 LIST 98\n30 CLS\n40 LIST 97:LIST 96");
  window->command("checkProgram")->trigger();
  ASSERT_EQ(panel().rows(ResultTab::Check).rowCount(), 4);
  editor().setFocus();
  editor().setTextCursor(QTextCursor(editor().document()->findBlockByNumber(2)));
  const struct {
    QKeyCombination key;
    int row, line, beeps;
  } steps[] = {
      {Qt::Key_F8, 2, 3, 0},
      {Qt::Key_F8, 3, 3, 0}, // both rows of one line
      {Qt::Key_F8, 3, 3, 1},
      {Qt::SHIFT | Qt::Key_F8, 2, 3, 1},
      {Qt::SHIFT | Qt::Key_F8, 1, 1, 1},
      {Qt::SHIFT | Qt::Key_F8, 0, 0, 1},
      {Qt::SHIFT | Qt::Key_F8, 0, 0, 2},
  };
  for (const auto &step : steps) {
    SCOPED_TRACE(panel().currentRow(ResultTab::Check));
    key(step.key);
    EXPECT_EQ(panel().currentRow(ResultTab::Check), step.row);
    EXPECT_EQ(caretLine(), step.line);
    EXPECT_EQ(ui.beeps, step.beeps);
  }
  EXPECT_EQ(editor().selText(), "10 LIST 99");
  key(Qt::ALT | Qt::Key_Left); // each jump left a place
  EXPECT_EQ(caretLine(), 1);
  for (const int row : {1, 3}) { // a re-run keeps the row, the second of line 3 too, and the focus
    panel().setCurrentRow(ResultTab::Check, row);
    window->findChild<basic::BasicTools *>()->keptCheck()->run();
    window->findChild<basic::BasicTools *>()->keptCheck()->finish();
    EXPECT_TRUE(panel().currentRow(ResultTab::Check) == row && QApplication::focusWidget() == &editor());
  }
}

TEST_F(PanelTest, OutputRowsSelectTheirLinesAsCheckRowsDoAndFollowThemThroughARenumber) {
  editor().setText("10 A\n20 B\n40 C\n50 D");
  ResultPanel &output = *window->findChild<PanelHost *>()->panel();
  // As a run lists them: 30 is missing, so its row follows the next higher line.
  output.append(ResultTab::Output, {{"run", -1, std::nullopt},
                                    {"30", 2, basic::LineNumber(30), false},
                                    {"10", 0, basic::LineNumber(10)},
                                    {"20", 1, basic::LineNumber(20)},
                                    {"99", -1, basic::LineNumber(99)}});
  output.showTab(ResultTab::Output);
  output.setCurrentRow(ResultTab::Output, 0); // as a run makes its first row current
  editor().moveCursor(QTextCursor::Start);
  const struct {
    QKeyCombination key;
    int line, beeps;
  } steps[] = {
      {Qt::Key_F8, 0, 0}, // the current row names no line: the caret's own line counts
      {Qt::Key_F8, 1, 0},
      {Qt::Key_F8, 2, 1}, // the next higher line, with a beep
      {Qt::Key_F8, 2, 2}, // the end
      {Qt::SHIFT | Qt::Key_F8, 1, 2},
  };
  for (const auto &step : steps) {
    SCOPED_TRACE(caretLine());
    key(step.key);
    EXPECT_EQ(caretLine(), step.line);
    EXPECT_EQ(editor().selText(), editor().textCursor().block().text());
    EXPECT_EQ(ui.beeps, step.beeps);
  }
  fillNextDialog({"100", "100"});
  window->command("renumber")->trigger();
  ui.messages.clear();
  output.focusRow(ResultTab::Output, 3);
  key(Qt::Key_Return);
  EXPECT_EQ(editor().selText(), "200 B"); // the line that was 20
  QTextCursor line = editor().textCursor();
  line.select(QTextCursor::BlockUnderCursor);
  line.removeSelectedText();
  output.focusRow(ResultTab::Output, 3);
  key(Qt::Key_Return);
  output.focusRow(ResultTab::Output, 4);
  key(Qt::Key_Return);
  EXPECT_EQ(ui.messageTexts().join(u'|'), "この出力の行は削除されました。|行 99 はありません");
  EXPECT_EQ(output.rows(ResultTab::Output).label(3), "20 (削除された行)");
}

TEST_F(PanelTest, CtrlCCopiesTheSelectedRowsAndTheMenuItemFollowsThePanel) {
  editor().setText("10 GOTO 99\n20 GOTO 98\n30 GOTO 97");
  QAction *item = window->command("resultPanel");
  EXPECT_TRUE(window->findChild<ResultPanel *>() == nullptr && !item->isChecked()); // made on first use
  window->command("checkProgram")->trigger();
  EXPECT_TRUE(item->isChecked());
  QListView *list = panel().view(ResultTab::Check);
  list->selectionModel()->select(list->model()->index(2, 0), QItemSelectionModel::Select);
  key(Qt::CTRL | Qt::Key_C);
  EXPECT_EQ(QApplication::clipboard()->text(),
            panel().rows(ResultTab::Check).label(0) + u'\n' + panel().rows(ResultTab::Check).label(2));
  list->clearSelection();
  key(Qt::CTRL | Qt::Key_C); // nothing to copy: the clipboard stays
  EXPECT_TRUE(QApplication::clipboard()->text().endsWith(panel().rows(ResultTab::Check).label(2)));
  // A row made current as F8 does starts the range Shift extends, not the row clicked.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualRect(list->model()->index(0, 0)).center());
  panel().setCurrentRow(ResultTab::Check, 1);
  key(Qt::SHIFT | Qt::Key_Down);
  key(Qt::CTRL | Qt::Key_C);
  EXPECT_EQ(QApplication::clipboard()->text(),
            panel().rows(ResultTab::Check).label(1) + u'\n' + panel().rows(ResultTab::Check).label(2));
  key(Qt::CTRL | Qt::Key_J);
  EXPECT_TRUE(!panel().isVisible() && !item->isChecked());
  key(Qt::Key_F8); // no visible tab to walk
  EXPECT_EQ(ui.beeps, 1);
  key(Qt::CTRL | Qt::Key_J);
  EXPECT_TRUE(panel().isVisible() && item->isChecked());
  panel().close(); // the panel's own close button
  EXPECT_FALSE(item->isChecked());
}

TEST_F(PanelTest, ItsShownStateTabAndHeightComeBackAtTheNextStart) {
  for (const char *shown : {"1", "0"}) { // shown at the start, or made by Ctrl+J
    SCOPED_TRACE(shown);
    dir.write("kavrin.ini", QByteArray("[Window]\r\nHeight=600\r\n[Panel]\r\nShown=") + shown +
                                "\r\nHeight=150\r\nTab=2\r\n");
    start();
    if (*shown == '0') {
      key(Qt::CTRL | Qt::Key_J);
    }
    settle();
    EXPECT_TRUE(panel().isVisible() && panel().visibleTab() == ResultTab::Output);
    EXPECT_EQ(panel().height(), 150);
    window->resizeDocks({&panel()}, {170}, Qt::Vertical); // as the user drags its edge
    settle();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(dir.read("kavrin.ini").contains("[Panel]\r\nShown=1\r\nHeight=170\r\nTab=2\r\n"));
  }
}

} // namespace
} // namespace kavrin::testing
