#include "support/window_fixture.h"

#include "widgets/find_dialog.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

#include <utility>

namespace kavrin::testing {
namespace {

const QString kEnd = QStringLiteral("End of document reached.");

class FindTest : public WindowTest {
protected:
  // Opens the dialog from the menu, as the user does.
  FindDialog &openFind() {
    form->Find1->trigger();
    EXPECT_NE(form->FindDialog1, nullptr);
    return *form->FindDialog1;
  }

  // Opens the dialog with nothing selected and sets what to find.
  FindDialog &search(const QString &what, bool matchCase = false, bool wholeWord = false) {
    FindDialog &d = openFind();
    d.setFindText(what);
    d.setMatchCase(matchCase);
    d.setWholeWord(wholeWord);
    return d;
  }

  void findNext() { QTest::mouseClick(form->FindDialog1->findNextButton(), Qt::LeftButton); }

  // A transient dialog's QWindow counts as active along with its owner, so
  // the widget's own activation is awaited.
  static bool becomesActive(QWidget &w) {
    return QTest::qWaitFor([&w] { return QApplication::activeWindow() == &w; }, 2000);
  }

  std::pair<int, int> selection() { return {editor().selStart(), editor().selLength()}; }

  int endReports() {
    int n = 0;
    for (const auto &m : ui.messages) {
      EXPECT_EQ(m.text, kEnd);
      EXPECT_EQ(m.caption, "Find/Rep");
      EXPECT_EQ(m.buttons, MsgButtons::Ok);
      ++n;
    }
    return n;
  }
};

TEST_F(FindTest, SuccessiveHitsThenTheEndOnEveryPress) {
  editor().setText("10 PRINT A\n20 PRINT B\n30 END");
  search("PRINT");
  findNext();
  EXPECT_EQ(selection(), std::pair(3, 5));
  EXPECT_EQ(editor().selText(), "PRINT");
  findNext();
  EXPECT_EQ(selection(), std::pair(14, 5));
  EXPECT_EQ(endReports(), 0);
  findNext();
  EXPECT_EQ(endReports(), 1);
  // The caret stays one past the last hit's start, with nothing selected.
  EXPECT_EQ(selection(), std::pair(15, 0));
  findNext();
  EXPECT_EQ(endReports(), 2);
  EXPECT_EQ(selection(), std::pair(15, 0));
  EXPECT_FALSE(editor().modified());
}

TEST_F(FindTest, OverlappingHitsAreFound) {
  editor().setText("aaa");
  search("aa");
  findNext();
  EXPECT_EQ(selection(), std::pair(0, 2));
  findNext();
  EXPECT_EQ(selection(), std::pair(1, 2));
  findNext();
  EXPECT_EQ(endReports(), 1);
  EXPECT_EQ(selection(), std::pair(2, 0));
}

TEST_F(FindTest, NothingBeforeTheCaretIsSearched) {
  editor().setText("10 PRINT\n20 END");
  editor().setSelStart(9);
  search("PRINT");
  findNext();
  EXPECT_EQ(endReports(), 1);
  EXPECT_EQ(selection(), std::pair(9, 0));
}

TEST_F(FindTest, MatchCase) {
  editor().setText("10 PRINT");
  search("print");
  findNext();
  EXPECT_EQ(selection(), std::pair(3, 5));

  editor().setSelStart(0);
  search("print", true);
  findNext();
  EXPECT_EQ(endReports(), 1);
  EXPECT_EQ(selection(), std::pair(0, 0));
}

TEST_F(FindTest, WholeWordSkipsAWordThatOnlyContainsIt) {
  editor().setText("10 LPRINT\n20 PRINT");
  search("PRINT", false, true);
  findNext();
  EXPECT_EQ(selection(), std::pair(13, 5));
  findNext();
  EXPECT_EQ(endReports(), 1);

  editor().setSelStart(0);
  search("PRINT");
  findNext();
  EXPECT_EQ(selection(), std::pair(4, 5));
}

TEST_F(FindTest, JapaneseHitSelectsItsCharacters) {
  editor().setText("10 PRINT\"おはよう、こんにちは、さようなら\"");
  search("こんにちは");
  findNext();
  EXPECT_EQ(selection(), std::pair(14, 5));
  EXPECT_EQ(editor().selText(), "こんにちは");
}

TEST_F(FindTest, AHitFarDownIsScrolledIntoView) {
  QString program;
  for (int line = 1; line <= 500; ++line) {
    program += QString::number(line * 10) + (line == 450 ? " GOSUB 9000\n" : " REM\n");
  }
  editor().setText(program);
  editor().setSelStart(0);
  search("GOSUB");
  findNext();
  QCoreApplication::processEvents();
  EXPECT_EQ(editor().selText(), "GOSUB");
  EXPECT_TRUE(editor().viewport()->rect().contains(editor().cursorRect()));
}

TEST_F(FindTest, FindSeedsTheDialogWithTheSelectionsFirstLine) {
  editor().setText("10 PRINT\n20 PRINT\n30 PRINT");
  editor().setSelStart(3);
  editor().setSelLength(5);
  FindDialog &d = openFind();
  EXPECT_EQ(d.findText(), "PRINT");
  EXPECT_TRUE(d.findNextButton()->isEnabled());
  // The selected word itself is not found again.
  findNext();
  EXPECT_EQ(selection(), std::pair(12, 5));

  editor().setSelStart(3);
  editor().setSelLength(8); // "PRINT\n20"
  openFind();
  EXPECT_EQ(d.findText(), "PRINT");

  editor().setSelStart(0);
  openFind();
  EXPECT_EQ(d.findText(), "");
  EXPECT_FALSE(d.findNextButton()->isEnabled());
  EXPECT_EQ(&openFind(), &d);
}

TEST_F(FindTest, EmptyTextFindsNothing) {
  editor().setText("10 END");
  openFind();
  form->FindDialog1Find();
  EXPECT_EQ(endReports(), 1);
  EXPECT_EQ(selection(), std::pair(0, 0));
}

TEST_F(FindTest, TheDialogIsModelessAndSearchesOnlyDownward) {
  FindDialog &d = openFind();
  EXPECT_FALSE(d.isModal());
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(d.parentWidget(), form.get());
  EXPECT_EQ(d.windowTitle(), "検索");
  EXPECT_TRUE(d.findNextButton()->isDefault());
  EXPECT_TRUE(becomesActive(d));
  EXPECT_EQ(QApplication::focusWidget(), d.findChild<QLineEdit *>())
      << QApplication::focusWidget()->metaObject()->className();

  auto *direction = d.findChild<QGroupBox *>();
  ASSERT_NE(direction, nullptr);
  EXPECT_EQ(direction->title(), "方向");
  EXPECT_FALSE(direction->isEnabled());
  const auto radios = direction->findChildren<QRadioButton *>();
  ASSERT_EQ(radios.size(), 2);
  for (QRadioButton *radio : radios) {
    EXPECT_EQ(radio->isChecked(), radio->text() == "下へ(&D)") << radio->text().toStdString();
  }

  // The window stays usable while the dialog is open.
  form->activateWindow();
  ASSERT_TRUE(becomesActive(*form));
  type("10 END");
  EXPECT_EQ(text(), "10 END");
  EXPECT_TRUE(d.isVisible());
  // Find again brings it back to the front.
  openFind();
  EXPECT_TRUE(becomesActive(d));
}

TEST_F(FindTest, ReturnFindsOnceEscAndCancelHide) {
  editor().setText("aaa");
  FindDialog &d = search("a");
  QSignalSpy finds(&d, &FindDialog::findNext);
  auto *edit = d.findChild<QLineEdit *>();
  ASSERT_NE(edit, nullptr);
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(finds.count(), 1);
  EXPECT_EQ(selection(), std::pair(0, 1));

  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_FALSE(d.isVisible());
  openFind();
  EXPECT_TRUE(d.isVisible());
  for (QPushButton *button : d.findChildren<QPushButton *>()) {
    if (button->text() == "キャンセル") {
      QTest::mouseClick(button, Qt::LeftButton);
    }
  }
  EXPECT_FALSE(d.isVisible());
  // The form still owns the same dialog for the next time.
  EXPECT_EQ(&openFind(), &d);
}

} // namespace
} // namespace kavrin::testing
