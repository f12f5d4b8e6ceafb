#include "support/window_fixture.h"

#include "widgets/find_dialog.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <tuple>
#include <utility>
#include <vector>

namespace kavrin::testing {
namespace {

class FindTest : public WindowTest {
protected:
  FindDialog &openFind() {
    form->Find1->trigger();
    return *form->FindDialog1;
  }
  std::pair<int, int> selection() { return {editor().selStart(), editor().selLength()}; }
  // A transient dialog's QWindow counts as active along with its owner.
  static bool becomesActive(QWidget &w) {
    return QTest::qWaitFor([&w] { return QApplication::activeWindow() == &w; }, 2000);
  }
};

TEST_F(FindTest, FindsForwardFromTheCaretAndSelectsTheHit) {
  // Text, caret, what, match case, whole word, and the selection after each
  // press: past the last hit the caret stays one past its start.
  const std::tuple<QString, int, QString, bool, bool, std::vector<std::pair<int, int>>> cases[] = {
      {"10 PRINT A\n20 PRINT B", 0, "PRINT", false, false, {{3, 5}, {14, 5}, {15, 0}, {15, 0}}},
      {"aaa", 0, "aa", false, false, {{0, 2}, {1, 2}, {2, 0}}},
      {"10 PRINT\n20 END", 9, "PRINT", false, false, {{9, 0}}},
      {"10 PRINT", 0, "print", false, false, {{3, 5}}},
      {"10 PRINT", 0, "print", true, false, {{0, 0}}},
      {"10 LPRINT\n20 PRINT", 0, "PRINT", false, true, {{13, 5}, {14, 0}}},
      {"10 END", 0, "", false, false, {{0, 0}}},
      {QString("REM\n").repeated(449) + "GOSUB", 0, "GOSUB", false, false, {{1796, 5}}},
  };
  for (const auto &[text, caret, what, matchCase, wholeWord, selections] : cases) {
    SCOPED_TRACE(what.toStdString());
    editor().setText(text);
    editor().setSelStart(caret);
    openFind().setFindText(what);
    form->FindDialog1->setMatchCase(matchCase);
    form->FindDialog1->setWholeWord(wholeWord);
    for (const auto &expected : selections) {
      ui.messages.clear();
      form->FindDialog1Find();
      QCoreApplication::processEvents();
      EXPECT_EQ(selection(), expected);
      EXPECT_TRUE(editor().viewport()->rect().contains(editor().cursorRect()));
      EXPECT_EQ(ui.messages.size(), expected.second == 0 ? 1U : 0U);
      EXPECT_TRUE(ui.messages.empty() || (ui.messages[0].text == "End of document reached." &&
                                          ui.messages[0].caption == "Find/Rep"));
    }
  }
}

TEST_F(FindTest, TheDialogIsSeededModelessAndFindsOnReturn) {
  editor().setText("10 PRINT\n20 PRINT");
  editor().setSelStart(3);
  editor().setSelLength(8); // "PRINT\n20": the first line seeds the dialog
  FindDialog &d = openFind();
  auto *edit = d.findChild<QLineEdit *>();
  EXPECT_TRUE(!d.isModal() && becomesActive(d) && QApplication::focusWidget() == edit);
  // Only down: the direction is shown but cannot be changed.
  EXPECT_TRUE(!d.findChild<QGroupBox *>()->isEnabled() &&
              d.findChildren<QRadioButton *>().at(1)->isChecked());
  QTest::keyClick(edit, Qt::Key_Return); // once, and not the selected word again
  EXPECT_EQ(selection(), std::pair(12, 5));
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(ui.messages.size(), 1U);
  form->activateWindow();
  ASSERT_TRUE(becomesActive(*form));
  EXPECT_TRUE(&openFind() == &d && becomesActive(d));
  EXPECT_TRUE(d.findText().isEmpty() && !d.findNextButton()->isEnabled());
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_FALSE(d.isVisible());
  openFind();
  QTest::mouseClick(d.findChildren<QPushButton *>().at(1), Qt::LeftButton); // Cancel
  EXPECT_FALSE(d.isVisible());
}

} // namespace
} // namespace kavrin::testing
