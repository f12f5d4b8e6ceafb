#include "support/window_fixture.h"

#include "basic/basic_tools.h"
#include "basic/kept_check.h"
#include "logic/keyword_palette.h"
#include "logic/program_check.h"
#include "widgets/panel_host.h"
#include "widgets/result_panel.h"

#include <QAction>
#include <QApplication>
#include <QListView>
#include <QStyle>
#include <QTextBlock>

// The program check in the window: its rows, kept current, its fixes.
namespace kavrin::testing {
namespace {

class CheckWindowTest : public WindowTest {
protected:
  basic::BasicTools &tools() { return *window->findChild<basic::BasicTools *>(); }
  // The wavy underlines as painted, each as "line:start+length".
  QStringList underlines() {
    editor().viewport()->repaint();
    QStringList out;
    for (QTextBlock block = editor().document()->begin(); block.isValid(); block = block.next()) {
      for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
        if (range.format.underlineStyle() == QTextCharFormat::WaveUnderline) {
          out << QStringLiteral("%1:%2+%3").arg(block.blockNumber()).arg(range.start).arg(range.length);
        }
      }
    }
    return out;
  }
};

TEST_F(CheckWindowTest, CheckListsFindingsThatFollowTheirLine) {
  load("10 LIST 99\nPRINT\n20 END");
  window->command("checkProgram")->trigger();
  ResultPanel &panel = *window->findChild<ResultPanel *>();
  QListView *list = panel.view(ResultTab::Check);
  ASSERT_TRUE(panel.isVisible() && panel.visibleTab() == ResultTab::Check);
  EXPECT_EQ(QApplication::focusWidget(), list);
  ASSERT_EQ(panel.rows(ResultTab::Check).rowCount(), 2);
  const auto choose = [&](int row) {
    list->setCurrentIndex(list->model()->index(row, 0));
    QTest::keyClick(list, Qt::Key_Return);
    return editor().selText();
  };
  const auto keyAt = [this](int pos, int length, Qt::Key key) {
    editor().setSelStart(pos);
    editor().setSelLength(length);
    QTest::keyClick(&window->editor(), key);
  };
  keyAt(0, 0, Qt::Key_Return); // a line above both
  keyAt(12, 0, Qt::Key_X);     // in the line
  EXPECT_EQ(panel.rows(ResultTab::Check).label(0), "行 10: 行 99 への参照がありますが、その行はありません");
  EXPECT_EQ(panel.rows(ResultTab::Check).label(1), "(3 行目、番号なし): 行番号がありません");
  EXPECT_EQ(choose(0), "10 LIST 99");
  EXPECT_EQ(choose(1), "xPRINT");
  EXPECT_TRUE(window->command("back")->isEnabled()); // the place before each choice is kept
  EXPECT_EQ(caretLine(), 2);
  window->command("undo")->trigger();
  window->command("undo")->trigger();
  EXPECT_EQ(text(), "10 LIST 99\nPRINT\n20 END");
  EXPECT_EQ(choose(0), "10 LIST 99");
  EXPECT_EQ(panel.rows(ResultTab::Check).label(1), "(2 行目、番号なし): 行番号がありません");
  EXPECT_TRUE(ui.messages.empty());
  keyAt(11, 6, Qt::Key_Delete); // the line with its break
  keyAt(2, 0, Qt::Key_Right);
  EXPECT_EQ(panel.rows(ResultTab::Check).label(1), "(2 行目、番号なし): 行番号がありません (削除された行)");
  EXPECT_EQ(choose(1), "");
  EXPECT_EQ(editor().selStart(), 3);
  ASSERT_EQ(ui.messages.size(), 1U);
  EXPECT_EQ(ui.messages[0].text, "この指摘の行は削除されました。");
  // Fixed in place, with its row current: nothing is left to list.
  load("10 GOTO 99");
  window->command("checkProgram")->trigger();
  keyAt(8, 2, Qt::Key_1);
  keyAt(9, 0, Qt::Key_0);
  window->command("checkProgram")->trigger();
  EXPECT_EQ(panel.rows(ResultTab::Check).rowCount(), 0);
  EXPECT_EQ(panel.summary(ResultTab::Check), "プログラムに問題はありません。");
  // Where a full-width digit may name a line, the summary tells what was not checked.
  load("10 GOTO ３０\n20 END");
  window->command("checkProgram")->trigger();
  EXPECT_EQ(panel.summary(ResultTab::Check),
            "1 件の問題があります。全角の数字があるため、到達できない行は検査していません");
}

TEST_F(CheckWindowTest, OnceRunTheCheckIsKeptCurrentAfterAPauseAndUnderlinesTheFindingsNumbers) {
  const auto typeAt = [this](int pos, int length, const QString &typed) {
    editor().setSelStart(pos < 0 ? editor().textLength() : pos);
    editor().setSelLength(length);
    type(typed);
  };
  for (const bool colours : {false, true}) {
    SCOPED_TRACE(colours);
    if (colours) {
      window->command("keywordColours")->trigger();
    }
    load("10 LIST 99\n  20 CLS\nPRINT\n30 END");
    typeAt(-1, 0, "x");
    if (!colours) {
      EXPECT_EQ(tools().keptCheck(), nullptr); // nothing scheduled before the first check
      EXPECT_EQ(underlines(), QStringList());
    }
    window->command("checkProgram")->trigger();
    EXPECT_EQ(underlines(), (QStringList{"0:0+2", "2:0+5"}));
    typeAt(13, 2, "5"); // the second line's number now below the first
    basic::KeptCheck &kept = *tools().keptCheck();
    EXPECT_TRUE(kept.due());
    kept.run();
    typeAt(-1, 0, ":"); // a change while the text is read drops what was read
    kept.finish();
    ResultPanel &panel = *window->findChild<PanelHost *>()->existing();
    EXPECT_EQ(panel.rows(ResultTab::Check).rowCount(), 2);
    EXPECT_TRUE(kept.due());
    panel.setCurrentRow(ResultTab::Check, 1); // the line without a number
    kept.run();
    kept.finish();
    EXPECT_FALSE(kept.due());
    EXPECT_EQ(underlines(), (QStringList{"0:0+2", "1:2+1", "2:0+5"}));
    EXPECT_EQ(panel.rows(ResultTab::Check).rowCount(), 3);
    EXPECT_EQ(panel.currentRow(ResultTab::Check), 2); // still on its line
    typeAt(8, 2, "5");                                // the reference now names a line
    EXPECT_EQ(underlines(), (QStringList{"0:0+2", "1:2+1", "2:0+5"}));
    kept.run();
    kept.finish();
    EXPECT_EQ(underlines(), (QStringList{"1:2+1", "2:0+5"}));
    EXPECT_EQ(panel.rows(ResultTab::Check).rowCount(), 2);
  }
}

TEST_F(CheckWindowTest, AFixMendsEveryFixableFindingOfItsLineOrOfAllInOneUndoStepThatRowsFollow) {
  load("10 Ａ＝\"¥\"\n20 B＝1\n30 PRINT ‾\nPRINT");
  window->command("checkProgram")->trigger();
  ResultPanel &panel = *window->findChild<ResultPanel *>();
  QListView *list = panel.view(ResultTab::Check);
  editor().setSelStart(0);
  QTest::keyClick(&window->editor(), Qt::Key_Return); // the rows follow their lines down
  const QString before = text();
  const int lines[] = {1, 1, 2, 3, 4}; // [全角] and [¥‾], [全角], [¥‾], no number
  ASSERT_EQ(panel.rows(ResultTab::Check).rowCount(), 5);
  const char *const all = "\n10 A=\"\\\"\n20 B=1\n30 PRINT ~\nPRINT";
  const struct {
    int row;                    // current
    Qt::KeyboardModifiers keys; // none: the row's context menu, 修正
    int caretLine;              // the key pressed in the editor with the caret there; -1: in the list
    const char *after;          // null: nothing fixed
  } cases[] = {
      {1, Qt::ControlModifier, -1, "\n10 A=\"\\\"\n20 B＝1\n30 PRINT ‾\nPRINT"},
      {0, {}, -1, "\n10 A=\"\\\"\n20 B＝1\n30 PRINT ‾\nPRINT"},
      {4, Qt::ControlModifier | Qt::ShiftModifier, -1, all},
      {4, Qt::ControlModifier, 2, "\n10 Ａ＝\"¥\"\n20 B=1\n30 PRINT ‾\nPRINT"},
      {0, Qt::ControlModifier | Qt::ShiftModifier, 4, all},
      {4, Qt::ControlModifier, -1, nullptr}, // nothing to fix on its line: not offered
      {0, Qt::ControlModifier, 4, nullptr},  // the caret's line, not the current row's
  };
  int beeps = 0;
  for (const auto &c : cases) {
    SCOPED_TRACE(c.row);
    panel.focusRow(ResultTab::Check, c.row);
    EXPECT_EQ(list->actions().value(0)->isEnabled(), c.row != 4);
    EXPECT_TRUE(list->actions().value(1)->isEnabled());
    if (c.keys == Qt::NoModifier) {
      EXPECT_EQ(list->contextMenuPolicy(), Qt::ActionsContextMenu);
      list->actions().value(0)->trigger();
    } else {
      QWidget *target = list;
      if (c.caretLine >= 0) {
        target = &window->editor();
        target->setFocus();
        editor().setTextCursor(QTextCursor(editor().document()->findBlockByNumber(c.caretLine)));
      }
      QTest::keyClick(target, Qt::Key_Period, c.keys);
    }
    beeps += c.after == nullptr && c.caretLine >= 0 ? 1 : 0;
    EXPECT_EQ(ui.beeps, beeps);
    EXPECT_EQ(text(), c.after == nullptr ? before : QString::fromUtf8(c.after));
    for (int row = 0; row < 5; ++row) {
      EXPECT_EQ(panel.rows(ResultTab::Check).lineOf(row), lines[row]);
    }
    if (c.after != nullptr) {
      window->command("undo")->trigger();
      EXPECT_EQ(text(), before);
    }
  }
  // A rule turned off in the settings lists nothing.
  basic::CheckOptions options;
  options.set(basic::checkRule("FullWidth"), false);
  setPreference(&Preferences::check, options);
  EXPECT_EQ(panel.rows(ResultTab::Check).rowCount(), 3);
}

TEST_F(CheckWindowTest, TheCheckReadsByTheModesKeywordsAndTheRulesOnAtOnce) {
  load("10 BGETAB=1:BGX=2\n20 ＰＲＩＮＴ");
  basic::CheckOptions options;
  options.set(basic::checkRule("FullWidth"), false);
  setPreference(&Preferences::check, options);
  window->command("checkProgram")->trigger();
  const ResultRows &rows = window->findChild<ResultPanel *>()->rows(ResultTab::Check);
  ASSERT_EQ(rows.rowCount(), 1); // BGE(TAB) and BGX: one variable in mode 5
  EXPECT_EQ(rows.label(0), "行 10: [変数名] BGE と BGX は最初の 2 文字が同じなので、実機には同じ変数です。"
                           "BGETAB は BGE TAB と読まれます");
  tools().keptCheck()->run();
  setPreference(&Preferences::check, basic::CheckOptions{});
  tools().keptCheck()->finish(); // what was read by the old rules is dropped
  ASSERT_EQ(rows.rowCount(), 2);
  // A warning and an error, each with its icon.
  for (const auto &[row, icon] :
       {std::pair{0, QStyle::SP_MessageBoxWarning}, {1, QStyle::SP_MessageBoxCritical}}) {
    EXPECT_EQ(qvariant_cast<QIcon>(rows.data(rows.index(row), Qt::DecorationRole)).pixmap(16).toImage(),
              QApplication::style()->standardIcon(icon).pixmap(16).toImage());
  }
  window->command("mode6")->trigger(); // BGET is a mode-6 word: AB is another name
  ASSERT_EQ(rows.rowCount(), 1);
  EXPECT_TRUE(rows.label(0).startsWith("行 20: [全角]"));
  editor().setSelStart(editor().textLength() - 5);
  editor().setSelLength(5);
  type("PRINT");
  EXPECT_TRUE(QTest::qWaitFor([&rows] { return rows.rowCount() == 0; }, 10000)); // after the pause in typing
  // The underline takes a colour that shows on a new background.
  editor().setText("PRINT");
  tools().keptCheck()->run();
  tools().keptCheck()->finish();
  editor().setColor(clBlack);
  ASSERT_EQ(underlines(), QStringList{"0:0+5"});
  EXPECT_EQ(editor().document()->firstBlock().layout()->formats().constLast().format.underlineColor(),
            findingColour(Qt::black));
}

} // namespace
} // namespace kavrin::testing
