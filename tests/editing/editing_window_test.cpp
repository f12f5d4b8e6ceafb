#include "support/window_fixture.h"

#include "platform/colors.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

namespace kavrin::testing {
namespace {

class CompletionWindowTest : public WindowTest {
protected:
  void tab(Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(form->RichEdit1, Qt::Key_Tab, modifiers);
  }
  void backtab() { QTest::keyClick(form->RichEdit1, Qt::Key_Backtab, Qt::ShiftModifier); }
  void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(form->RichEdit1, k, modifiers);
  }
  QString selected() { return editor().selText(); }
};

TEST_F(CompletionWindowTest, TabCompletesCyclesAndWalksBack) {
  type("10 pri");
  tab();
  EXPECT_EQ(text(), "10 priNT");
  EXPECT_EQ(selected(), "NT");
  EXPECT_EQ(ui.beeps, 0);
  tab();
  EXPECT_EQ(text(), "10 pri");
  EXPECT_EQ(ui.beeps, 1);
  backtab();
  EXPECT_EQ(text(), "10 priNT");
  // Shift held with a plain Tab key counts as Shift+TAB as well.
  tab(Qt::ShiftModifier);
  EXPECT_EQ(text(), "10 pri");
  EXPECT_EQ(ui.beeps, 2);
  EXPECT_EQ(QApplication::focusWidget(), form->RichEdit1);
  EXPECT_FALSE(text().contains(u'\t'));
}

TEST_F(CompletionWindowTest, TabNeverInsertsATabOrMovesTheFocus) {
  type("10 ");
  tab();
  tab(Qt::ShiftModifier);
  backtab();
  tab(Qt::ControlModifier);
  EXPECT_EQ(text(), "10 ");
  EXPECT_EQ(ui.beeps, 4);
  EXPECT_EQ(QApplication::focusWidget(), form->RichEdit1);
}

TEST_F(CompletionWindowTest, TypingAfterACompletionKeepsIt) {
  type("10 pri");
  tab();
  type(" A");
  EXPECT_EQ(text(), "10 priNT A");
  EXPECT_FALSE(form->CompActive);
}

TEST_F(CompletionWindowTest, BackspaceRemovesTheShownTail) {
  type("10 pri");
  tab();
  key(Qt::Key_Backspace);
  EXPECT_EQ(text(), "10 pri");
  type("n");
  EXPECT_EQ(text(), "10 prin");
}

TEST_F(CompletionWindowTest, EscKeepsTheTailSelectedForTheNextCharacter) {
  type("10 pri");
  tab();
  key(Qt::Key_Escape);
  EXPECT_EQ(selected(), "NT");
  type("X");
  EXPECT_EQ(text(), "10 priX");
}

TEST_F(CompletionWindowTest, ShiftAloneDoesNotEndTheCycle) {
  type("10 p");
  tab();
  const QString first = text();
  key(Qt::Key_Shift, Qt::ShiftModifier);
  EXPECT_TRUE(form->CompActive);
  backtab();
  EXPECT_EQ(text(), "10 p");
  tab();
  EXPECT_EQ(text(), first);
}

TEST_F(CompletionWindowTest, UndoTakesBackTheCompletionAlone) {
  type("10 pri");
  tab();
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(text(), "10 pri");
  // Ctrl went down in the editor, so the cycle is over.
  EXPECT_FALSE(form->CompActive);
}

TEST_F(CompletionWindowTest, MenuShortcutsReachTheMenuFromTheEditor) {
  QGuiApplication::clipboard()->clear();
  type("10 RUN");
  key(Qt::Key_A, Qt::ControlModifier);
  key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "10 RUN");
  int undone = 0;
  QObject::connect(form->Undo1, &QAction::triggered, [&undone] { ++undone; });
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(undone, 1);
}

TEST_F(CompletionWindowTest, ModeSwitchEndsTheCycleAndReloads) {
  type("10 ope");
  tab();
  EXPECT_EQ(text(), "10 opeEK"); // the standard list has no OPEN, but PEEK
  backtab();
  EXPECT_EQ(text(), "10 ope");
  form->Mode6->trigger();
  EXPECT_TRUE(form->Mode6->isChecked());
  EXPECT_FALSE(form->Mode5->isChecked());
  EXPECT_FALSE(form->CompActive);
  EXPECT_EQ(text(), "10 ope");
  tab();
  EXPECT_EQ(text(), "10 opeN");
  form->Mode5->trigger();
  EXPECT_EQ(text(), "10 opeN");
  EXPECT_TRUE(form->Mode5->isChecked());
  // Choosing the checked mode again reloads it.
  form->Keywords.clear();
  form->Mode5->trigger();
  EXPECT_TRUE(form->Mode5->isChecked());
  EXPECT_TRUE(form->Keywords.contains("PRINT"));
}

TEST_F(CompletionWindowTest, AMissingListIsReportedAndLeavesAnEmptyList) {
  type("10 pri");
  tab();
  form->ExeDir = dir.root() + "/";
  form->Mode6->trigger();
  ASSERT_EQ(ui.messages.size(), 1U);
  EXPECT_TRUE(ui.messages[0].text.contains("qmsrcode.txt"));
  EXPECT_EQ(ui.messages[0].caption, "kavrin");
  EXPECT_TRUE(form->Mode6->isChecked());
  EXPECT_TRUE(form->Keywords.isEmpty());
  EXPECT_FALSE(form->CompActive);
  EXPECT_EQ(text(), "10 priNT");
  EXPECT_EQ(selected(), "NT");
  key(Qt::Key_End);
  type(" pri");
  tab();
  EXPECT_EQ(text(), "10 priNT pri");
  EXPECT_EQ(ui.beeps, 1);
}

class FormatTest : public WindowTest {};

TEST_F(FormatTest, WrapSwitchesWrappingAndTheHorizontalBar) {
  RichEdit &e = editor();
  EXPECT_EQ(e.lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_NE(e.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  e.setPlainText(QString(2000, u'X'));
  QCoreApplication::processEvents();
  EXPECT_TRUE(e.horizontalScrollBar()->isVisible());

  form->Wrap1->trigger();
  QCoreApplication::processEvents();
  EXPECT_TRUE(form->Wrap1->isChecked());
  EXPECT_EQ(e.lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_EQ(e.wordWrapMode(), QTextOption::WrapAnywhere);
  EXPECT_EQ(e.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_FALSE(e.horizontalScrollBar()->isVisible());
  EXPECT_GT(e.document()->firstBlock().layout()->lineCount(), 1);

  form->Wrap1->trigger();
  QCoreApplication::processEvents();
  EXPECT_FALSE(form->Wrap1->isChecked());
  EXPECT_EQ(e.lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_TRUE(e.horizontalScrollBar()->isVisible());
  EXPECT_FALSE(e.modified());
}

TEST_F(FormatTest, FontDialogSetsFaceSizeEffectsAndColour) {
  const QFont before = editor().font();
  ui.fontAnswers.push_back(std::nullopt);
  form->Font1->trigger();
  ASSERT_EQ(ui.fontCalls.size(), 1U);
  EXPECT_EQ(ui.fontCalls[0].font, before);
  EXPECT_EQ(editor().font(), before);

  FontChoice chosen;
  chosen.font = QFont(QStringLiteral("IPAGothic"), 14);
  chosen.font.setUnderline(true);
  chosen.font.setStrikeOut(true);
  chosen.color = 0x0000FF; // red
  ui.fontAnswers.push_back(chosen);
  form->Font1->trigger();
  EXPECT_EQ(editor().font(), chosen.font);
  EXPECT_EQ(editor().fontColor(), 0x0000FFU);
  EXPECT_EQ(editor().palette().color(QPalette::Text), QColor(255, 0, 0));
  // The next showing starts from what was chosen.
  ui.fontAnswers.push_back(std::nullopt);
  form->Font1->trigger();
  EXPECT_EQ(ui.fontCalls[2].font, chosen.font);
  EXPECT_EQ(ui.fontCalls[2].color, 0x0000FFU);
  EXPECT_FALSE(editor().modified());
}

TEST_F(FormatTest, BackgroundDialogStartsFromTheCurrentColour) {
  ui.colorAnswers.push_back(std::nullopt);
  form->Back1->trigger();
  ASSERT_EQ(ui.colorCalls.size(), 1U);
  EXPECT_EQ(ui.colorCalls[0], clWindow);
  EXPECT_EQ(editor().color(), clWindow);

  ui.colorAnswers.push_back(TColor{0x00FF8000}); // blue 255, green 128
  form->Back1->trigger();
  EXPECT_EQ(editor().color(), 0x00FF8000U);
  EXPECT_EQ(editor().palette().color(QPalette::Base), QColor(0, 128, 255));
  ui.colorAnswers.push_back(std::nullopt);
  form->Back1->trigger();
  EXPECT_EQ(ui.colorCalls[2], 0x00FF8000U);
}

TEST_F(FormatTest, CutAndCopyFollowTheSelectionPasteTheClipboard) {
  QClipboard *clip = QGuiApplication::clipboard();
  clip->clear();
  QCoreApplication::processEvents();
  EXPECT_FALSE(form->Cut1->isEnabled());
  EXPECT_FALSE(form->Copy1->isEnabled());
  EXPECT_FALSE(form->Paste1->isEnabled());
  EXPECT_TRUE(form->Undo1->isEnabled());

  type("10 PRINT");
  editor().setSelStart(3);
  editor().setSelLength(5);
  EXPECT_TRUE(form->Cut1->isEnabled());
  EXPECT_TRUE(form->Copy1->isEnabled());
  form->Cut1->trigger();
  QCoreApplication::processEvents();
  EXPECT_EQ(text(), "10 ");
  EXPECT_FALSE(form->Cut1->isEnabled());
  EXPECT_TRUE(form->Paste1->isEnabled());
  form->Paste1->trigger();
  form->Paste1->trigger();
  EXPECT_EQ(text(), "10 PRINTPRINT");

  clip->clear();
  QCoreApplication::processEvents();
  EXPECT_FALSE(form->Paste1->isEnabled());
}

TEST_F(FormatTest, UndoAndSelectAllActOnTheEditor) {
  type("10 RUN");
  form->SelectAll1->trigger();
  EXPECT_EQ(editor().selText(), "10 RUN");
  form->Undo1->trigger();
  EXPECT_NE(text(), "10 RUN");
}

} // namespace
} // namespace kavrin::testing
