#include "support/window_fixture.h"

#include "basic/basic_tools.h"
#include "platform/cp932.h"
#include "widgets/basic_dialogs.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTextBlock>

namespace kavrin::testing {
namespace {

class BasicToolsTest : public WindowTest {
protected:
  basic::BasicTools &tools() { return *window->findChild<basic::BasicTools *>(); }
};

TEST_F(BasicToolsTest, CtrlGGoesToALineOrTheNextHigherOne) {
  load("10 A\n30 B\n20 C\n40 D");
  const struct {
    const char *input;
    int line;
    int beeps;
    const char *message;
    bool source = false; // in the source below: by the built numbers
  } cases[] = {
      {"10", 0, 0, ""},
      {"20", 2, 0, ""},
      {" 25 ", 1, 1, ""},
      {"50", 1, 1, "行 50 はありません"},
      {"x1", 1, 1, "「x1」は行番号ではありません。"},
      {"12345678901234567890", 1, 1, "行 12345678901234567890 はありません"},
      {"10", 2, 1, "", true},
      {"20", 4, 2, "", true},
      {"100", 4, 2, "", true},
      {"101", 4, 2, "行 101 はありません", true},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.input);
    if (c.source && !window->session().sourceForm()) {
      load("' demo\n*TOP\nPRINT:\n  GOTO *TOP\n100 END");
      window->session().setSourceForm(true);
    }
    fillNextDialog({QString::fromUtf8(c.input)});
    QTest::keyClick(&window->editor(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(caretLine(), c.line);
    EXPECT_EQ(ui.beeps, c.beeps);
    EXPECT_EQ(ui.messages.empty() ? QString() : ui.messages.back().text, QString::fromUtf8(c.message));
    ui.messages.clear();
  }
  EXPECT_EQ(editor().textCursor().positionInBlock(), 0);
  // F12 on an ERL bound goes by the built numbers too.
  editor().moveCursor(QTextCursor::End);
  QTest::keyClicks(&editor(), "\rIF ERL<5 THEN END");
  editor().setSelStart(editor().textLength() - 10);
  QTest::keyClick(&editor(), Qt::Key_F12);
  EXPECT_EQ(caretLine(), 2);
  EXPECT_EQ(ui.messageTexts().join(u'|'), "5 は ERL の境目です。5 以上の最初の行は 行 10 です。");
}

TEST_F(BasicToolsTest, RenumberIsOneUndoStepAndKeepsItsValues) {
  const QString program = QStringLiteral("10 GOTO 20\n' 説明\n20 ON X GOSUB 10,30,105\n");
  load(program);
  editor().setSelStart(program.indexOf(u'\''));
  fillNextDialog({"100", "5", ""});
  window->command("renumber")->trigger();
  EXPECT_EQ(text(), "100 GOTO 105\n' 説明\n105 ON X GOSUB 100,30,105\n");
  EXPECT_EQ(caretLine(), 1);
  EXPECT_TRUE(editor().modified());
  ASSERT_EQ(ui.messages.size(), 1U);
  EXPECT_EQ(ui.messages[0].text, "2 行の番号を振り直しました。\n見つからない参照先:\n行 105: 30\n"
                                 "振り直した行を新たに指すようになった参照:\n行 105: 105");
  window->command("undo")->trigger();
  EXPECT_EQ(text(), program);

  ui.modalScripts.push_back([](QDialog &dialog) {
    auto &renumber = static_cast<RenumberDialog &>(dialog);
    EXPECT_EQ(renumber.windowTitle(), "番号の振り直し");
    EXPECT_EQ(renumber.newStart()->text(), "100");
    EXPECT_EQ(renumber.increment()->text(), "5");
    renumber.increment()->setText("0");
    dialog.accept();
  });
  // Refused, the dialog comes back with what was typed.
  ui.modalScripts.push_back([](QDialog &dialog) {
    EXPECT_EQ(static_cast<RenumberDialog &>(dialog).increment()->text(), "0");
    dialog.reject();
  });
  window->command("renumber")->trigger();
  EXPECT_EQ(text(), program);
  EXPECT_EQ(ui.messages.size(), 2U);
  fillNextDialog({"100", "5", "12345678901234567890"}); // read, not refused as no number
  window->command("renumber")->trigger();
  EXPECT_EQ(ui.messages.back().text, "番号を振り直す行がありません。");
}

TEST_F(BasicToolsTest, RenumberTakesTheLastOldLineInAFourthField) {
  load("10 GOTO 30\n20 A\n30 GOTO 10\n");
  ui.modalScripts.push_back([](QDialog &dialog) {
    auto &renumber = static_cast<RenumberDialog &>(dialog);
    EXPECT_EQ(dialog.findChildren<QLineEdit *>(),
              QList<QLineEdit *>(
                  {renumber.newStart(), renumber.increment(), renumber.oldStart(), renumber.oldEnd()}));
    EXPECT_EQ(dialog.findChildren<QLabel *>().back()->text(), "最後の旧行番号(&E):");
    EXPECT_EQ(renumber.oldEnd()->text(), "");
    EXPECT_EQ(renumber.oldEnd()->placeholderText(), "最後の行");
    dialog.reject();
  });
  window->command("renumber")->trigger();
  fillNextDialog({"1", "1", "", "20"});
  window->command("renumber")->trigger();
  EXPECT_EQ(text(), "1 GOTO 30\n2 A\n30 GOTO 1\n");
  ui.modalScripts.push_back([](QDialog &dialog) {
    EXPECT_EQ(static_cast<RenumberDialog &>(dialog).oldEnd()->text(), "20");
    dialog.reject();
  });
  window->command("renumber")->trigger();
  const struct {
    const char *newStart, *oldEnd, *message;
  } refusals[] = {
      {"1", "x", "最後の旧行番号は 0 以上の整数で指定してください。"},
      {"29", "2", "新しい行番号が範囲より後の行 30 と重なります。"},
      {"1", "0", "最後の旧行番号が振り直す最初の行より小さくなっています。"},
  };
  for (const auto &c : refusals) {
    fillNextDialog({c.newStart, "1", "1", c.oldEnd});
    if (c.oldEnd == std::string_view("x")) {
      ui.modalScripts.push_back([](QDialog &dialog) { dialog.reject(); });
    }
    window->command("renumber")->trigger();
    EXPECT_EQ(ui.messages.back().text, QString::fromUtf8(c.message));
  }
  EXPECT_EQ(text(), "1 GOTO 30\n2 A\n30 GOTO 1\n");
}

TEST_F(BasicToolsTest, SortReordersInOneUndoStepOrLeavesAnOrderedProgramAlone) {
  load("20 B\n10 A\n");
  for (const auto &[from, to] : {std::pair(1, 1), std::pair(10, 2)}) { // a caret at the end stays there
    editor().setSelStart(from);
    window->command("sortLines")->trigger();
    EXPECT_EQ(text(), "10 A\n20 B\n");
    EXPECT_EQ(caretLine(), to);
    window->command("undo")->trigger();
    EXPECT_EQ(text(), "20 B\n10 A\n");
  }
  load("10 A\n20 B");
  window->command("sortLines")->trigger();
  EXPECT_FALSE(editor().modified());
  EXPECT_FALSE(editor().document()->isUndoAvailable());
  EXPECT_EQ(ui.messages.size(), 3U);
  load("20 A\n20 B");
  window->command("sortLines")->trigger();
  EXPECT_EQ(ui.messages.back().text, "行番号順に整列しました。同じ番号の後の行で置き換えた行: 20");
}

TEST_F(BasicToolsTest, ColoursFollowTheModeAndAreStoredOnlyOnceSwitchedOn) {
  load("10 BGET");
  window->command("keywordColours")->trigger();
  EXPECT_TRUE(window->command("keywordColours")->isChecked());
  const auto spans = [this] {
    editor().viewport()->repaint();
    return editor().document()->firstBlock().layout()->formats().size();
  };
  EXPECT_EQ(spans(), 1); // the line number; BGET is a mode-6 word
  window->command("mode6")->trigger();
  EXPECT_EQ(spans(), 2);
  EXPECT_FALSE(editor().modified());
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(cp932::decodeVerbatim(dir.read("kavrin.ini")).endsWith("[Editor]\r\nHighlight=1\r\n"));

  start();
  EXPECT_TRUE(window->command("keywordColours")->isChecked());
  window->command("keywordColours")->trigger();
  EXPECT_TRUE(editor().document()->firstBlock().layout()->formats().isEmpty());
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(cp932::decodeVerbatim(dir.read("kavrin.ini")).endsWith("[Editor]\r\nHighlight=0\r\n"));
}

} // namespace
} // namespace kavrin::testing
