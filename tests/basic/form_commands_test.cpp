#include "support/window_fixture.h"

#include "basic/kept_check.h"
#include "document/document_commands.h"
#include "widgets/panel_host.h"
#include "widgets/result_panel.h"
#include "widgets/status_bar.h"

#include <QAction>
#include <QListView>
#include <QTextBlock>

namespace kavrin::testing {
namespace {

class FormTest : public WindowTest {
protected:
  // Which of the commands of the form are on.
  QString enabled() {
    QString on;
    for (const char *name :
         {"toLabelForm", "toNumberedForm", "saveNumbered", "renumber", "sortLines", "moveLines"}) {
      on += window->command(name)->isEnabled() ? u'+' : u'-';
    }
    return on;
  }
};

TEST_F(FormTest, EachConversionIsOneUndoStepAndSwitchesTheForm) {
  const QString numbered = "10 GOTO 30\n20 PRINT\n30 GOSUB 10\n";
  const QString source = "*L10\nGOTO *L30\nPRINT\n*L30\nGOSUB *L10\n";
  load(numbered);
  EXPECT_EQ(enabled(), "+--+++");
  EXPECT_EQ(window->panels().formText(), "行番号形式");
  const struct {
    const char *command;
    QString text;
    const char *enabled;
    const char *form;
  } steps[] = {{"toLabelForm", source, "-++---", "ソース形式"},
               {"undo", numbered, "+--+++", "行番号形式"}, // the form comes back with the text
               {"redo", source, "-++---", "ソース形式"},
               {"toNumberedForm", "10 GOTO 30\n20 PRINT\n30 GOSUB 10\n", "+--+++", "行番号形式"}};
  for (const auto &step : steps) {
    SCOPED_TRACE(step.command);
    window->command(step.command)->trigger();
    EXPECT_EQ(text(), step.text);
    EXPECT_EQ(enabled(), step.enabled);
    EXPECT_EQ(window->panels().formText(), step.form);
  }
  window->command("toLabelForm")->trigger();
  EXPECT_EQ(window->command("renumber")->toolTip(), "ソース形式では行番号はビルドが振るため、使えません");
}

TEST_F(FormTest, ARefusedConversionListsEveryLineThatStopsIt) {
  load("10 GOTO 5\n20 GOSUB 30:LIST 10-25\n");
  window->command("toLabelForm")->trigger();
  EXPECT_EQ(text(), "10 GOTO 5\n20 GOSUB 30:LIST 10-25\n");
  EXPECT_EQ(ui.messageTexts(), QStringList({"ラベル形式に変換できません。3 件の問題があります。\n"
                                            "1 行目: 行 5 への参照がありますが、その行はありません"}));
  ResultPanel &panel = *window->findChild<PanelHost *>()->existing();
  const ResultRows &rows = panel.rows(ResultTab::Check);
  ASSERT_EQ(rows.rowCount(), 3);
  EXPECT_EQ(rows.lineOf(0), 0);
  EXPECT_EQ(rows.lineOf(2), 1);
  EXPECT_EQ(enabled(), "+--+++");
  // The way back is refused alike: the first row shown and current.
  window->session().setSourceForm(true);
  load("PRINT\nGOTO *X\n");
  panel.showTab(ResultTab::Output);
  ui.messages.clear();
  window->command("toNumberedForm")->trigger();
  EXPECT_EQ(text(), "PRINT\nGOTO *X\n");
  EXPECT_EQ(ui.messageTexts(),
            QStringList({"行番号形式にできません。\n"
                         "2 行目: ラベル *X への参照がありますが、そのラベルはありません"}));
  EXPECT_TRUE(panel.view(ResultTab::Check)->isVisibleTo(&panel) && panel.currentRow(ResultTab::Check) == 0);
  EXPECT_EQ(caretLine(), 1);
}

TEST_F(FormTest, TheSourceIsCheckedThroughItsBuildAndTypedWithoutNumbers) {
  load("10 GOTO 20\n20 Ａ=1\n");
  window->command("toLabelForm")->trigger();
  window->command("checkProgram")->trigger();
  const ResultRows &rows = window->findChild<PanelHost *>()->existing()->rows(ResultTab::Check);
  ASSERT_EQ(rows.rowCount(), 1);
  EXPECT_EQ(rows.lineOf(0), 2); // under its label
  editor().moveCursor(QTextCursor::End);
  type("100 END\r");
  EXPECT_EQ(text(), "GOTO *L20\n*L20\nＡ=1\n100 END\n"); // AUTO adds no number
  type("GOTO *l\t");
  EXPECT_TRUE(text().endsWith("\nGOTO *l20")); // TAB completes a label
  type(" \t' c\rRETURN\t' r");
  // or, with nothing to add, is a tab
  EXPECT_TRUE(text().endsWith("\nGOTO *l20 \t' c\nRETURN\t' r"));
  editor().selectAll(); // but never takes the place of a selection
  type("\t");
  EXPECT_TRUE(text().endsWith("\nRETURN\t' r") && ui.beeps == 1);
}

TEST_F(FormTest, TheBuiltProgramIsSavedUnderANameOfItsOwn) {
  window->feature<DocumentCommands>()->load(dir.write("p.bsrc", "*A\r\nPRINT:\r\n GOTO *A\r\n"));
  ui.saveAnswers = {dir.path("p.bas")};
  window->command("saveNumbered")->trigger();
  EXPECT_EQ(ui.saveCalls.at(0).fileName, dir.path("p.bas"));
  EXPECT_EQ(dir.read("p.bas"), "10 PRINT:GOTO 10\r\n");
  EXPECT_EQ(dir.read("p.bsrc"), "*A\r\nPRINT:\r\n GOTO *A\r\n");
  // Text Shift-JIS cannot hold is refused on its source line, before the dialog.
  load("PRINT:\n PRINT \"\u00E9\"\n");
  window->command("saveNumbered")->trigger();
  EXPECT_EQ(ui.messageTexts().value(0),
            "番号付きで保存できません。\n2 行目: 「\u00E9」(U+00E9) は Shift-JIS で保存できません");
  EXPECT_EQ(ui.saveCalls.size(), 1U);
}

TEST_F(FormTest, AFindingOnAContinuationLineIsListedAndFixedThere) {
  window->session().setSourceForm(true);
  load("PRINT A:\n  PRINT（B)\nEND\n");
  window->command("checkProgram")->trigger();
  ResultPanel &panel = *window->findChild<ResultPanel *>();
  ASSERT_EQ(panel.rows(ResultTab::Check).rowCount(), 1);
  EXPECT_EQ(panel.rows(ResultTab::Check).lineOf(0), 1);
  panel.focusRow(ResultTab::Check, 0);
  panel.view(ResultTab::Check)->actions().value(0)->trigger(); // 修正
  EXPECT_EQ(text(), "PRINT A:\n  PRINT(B)\nEND\n");
}

TEST_F(FormTest, F2OnALabelRenamesItAndEveryUseElseItTypesItsKeyText) {
  window->session().setSourceForm(true);
  const QString program = "*Top\n*B\nGOTO *top:GOTO *B:GOTO *C\n";
  const struct {
    int line, column;
    const char *name; // typed in the dialog, if one shows
    QString text;
    const char *message;
  } cases[] = {
      {0, 2, "b", program, "ラベル *b はもうあります"},
      {0, 2, "c", program, "ラベル *c はもう使われています"},
      {0, 2, "9x", program, "「9x」はラベルの名前にできません"},
      {2, 0, nullptr, program.left(8) + window->session().preferences().functionKeys[1] + program.mid(8), ""},
      {2, 7, "Loop", "*Loop\n*B\nGOTO *Loop:GOTO *B:GOTO *C\n", ""}, // last: its undo follows
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    load(program);
    ui.messages.clear();
    QTextCursor caret(editor().document()->findBlockByNumber(c.line));
    caret.setPosition(caret.position() + c.column);
    editor().setTextCursor(caret);
    if (c.name != nullptr) {
      fillNextDialog({QString::fromUtf8(c.name)});
    }
    QTest::keyClick(&editor(), Qt::Key_F2);
    EXPECT_EQ(text(), c.text);
    EXPECT_EQ(ui.messageTexts().join(u'|'), QString::fromUtf8(c.message));
  }
  window->command("undo")->trigger();
  EXPECT_EQ(text(), program);
}

} // namespace
} // namespace kavrin::testing
