#include "support/window_fixture.h"

#include "editing/search_commands.h"
#include "platform/colors.h"
#include "widgets/result_panel.h"
#include "widgets/search_dialog.h"
#include "widgets/status_bar.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextLayout>
#include <QWheelEvent>

#include <initializer_list>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace kavrin::testing {
namespace {

class EditingWindowTest : public WindowTest {
protected:
  void keys(std::initializer_list<QKeyCombination> combinations) {
    for (const QKeyCombination k : combinations) {
      QTest::keyClick(&window->editor(), k.key(), k.keyboardModifiers());
    }
  }
  QString panel(int i) { return window->panels().panelText(i); }
  SearchDialog &openFind() {
    window->command("find")->trigger();
    return *window->feature<SearchCommands>()->findDialog();
  }
  std::pair<int, int> selection() { return {editor().selStart(), editor().selLength()}; }
  // A transient dialog's QWindow counts as active along with its owner.
  static bool becomesActive(QWidget &w) {
    return QTest::qWaitFor([&w] { return QApplication::activeWindow() == &w; }, 2000);
  }
};

TEST_F(EditingWindowTest, TabCompletesAndNeverInsertsOrMovesTheFocus) {
  window->session().setKeywords({"PLAY", "PRINT"});
  type("10 ");
  keys({Qt::CTRL | Qt::Key_Tab});
  type("p");
  keys({Qt::SHIFT | Qt::Key_Tab}); // Shift with a plain Tab key steps back
  EXPECT_EQ(text(), "10 pRINT");
  keys({Qt::SHIFT | Qt::Key_Backtab});
  EXPECT_EQ(text(), "10 pLAY");
  EXPECT_TRUE(ui.beeps == 1 && QApplication::focusWidget() == &window->editor());
  // Shift alone leaves the cycle on, so Backspace takes the tail.
  QTest::keyPress(&window->editor(), Qt::Key_Shift, Qt::ShiftModifier);
  EXPECT_EQ(panel(0), window->session().preferences().functionKeys[5]); // the legend shows the shifted texts
  QTest::keyRelease(&window->editor(), Qt::Key_Shift, Qt::NoModifier);
  EXPECT_EQ(panel(0), window->session().preferences().functionKeys[0]);
  keys({Qt::Key_Backspace, Qt::Key_Tab});
  // Menu shortcuts go to the menu; the completion is one undo step.
  int undone = 0;
  QObject::connect(window->command("undo"), &QAction::triggered, [&undone] { ++undone; });
  keys({Qt::CTRL | Qt::Key_Z});
  EXPECT_EQ(undone, 1);
  EXPECT_EQ(text(), "10 p");
}

TEST_F(EditingWindowTest, KeyTextsLegendAndInsert) {
  type("10 pri");
  keys({Qt::Key_Tab, Qt::Key_F1, Qt::SHIFT | Qt::Key_F3, Qt::Key_F5}); // F5's line break gets no number
  EXPECT_EQ(text(), "10 priNTCOLOR PRINT RUN\n");
  keys({Qt::Key_Up, Qt::Key_Insert});
  type("2x");
  EXPECT_EQ(panel(5), "OVW");
  window->command("undo")->trigger(); // an overwritten character comes back in one step
  EXPECT_EQ(text(), "20 priNTCOLOR PRINT RUN\n");
  keys({Qt::Key_Insert});
  type("0");
  EXPECT_TRUE(text() == "200 priNTCOLOR PRINT RUN\n" && panel(5) == "INS");
}

TEST_F(EditingWindowTest, TheLegendFollowsShiftWhereverTheFocusIs) {
  editor().setText("10 GOTO 10");
  QTest::keyPress(&editor(), Qt::Key_Shift, Qt::ShiftModifier);
  window->command("showReferences")->trigger(); // Shift+F12
  QListView *list = window->findChild<ResultPanel *>()->view(ResultTab::References);
  ASSERT_EQ(QApplication::focusWidget(), list);
  const auto &texts = window->session().preferences().functionKeys;
  for (const bool down : {false, true, false}) {
    SCOPED_TRACE(down);
    if (down) {
      QTest::keyPress(list, Qt::Key_Shift, Qt::ShiftModifier);
    } else {
      QTest::keyRelease(list, Qt::Key_Shift, Qt::NoModifier);
    }
    EXPECT_EQ(panel(0), texts[down ? 5 : 0]);
  }
  QTest::keyClick(list, Qt::Key_Escape); // gives the focus back to the editor
  ASSERT_EQ(QApplication::focusWidget(), &editor());
  EXPECT_EQ(panel(0), texts[0]);
  keys({Qt::Key_End, Qt::Key_F1}); // types what the legend shows
  EXPECT_EQ(text(), "10 GOTO 10" + texts[0]);
}

TEST_F(EditingWindowTest, ReturnWithAutoNumbersAndKeepsACompletion) {
  type("10 pri");
  keys({Qt::Key_Tab, Qt::Key_Return, QKeyCombination(Qt::KeypadModifier, Qt::Key_Enter),
        Qt::SHIFT | Qt::Key_Return});
  window->command("undo")->trigger(); // one step takes the whole numbered break back
  EXPECT_EQ(text(), "10 priNT\n20 \n30 ");
  window->command("auto")->trigger();
  type("go");
  keys({Qt::Key_Tab, Qt::Key_Return});
  EXPECT_EQ(text(), "10 priNT\n20 \n30 goSUB\n");
}

// Either key brings back what Undo took; Redo is offered only while it has something to do, Undo always.
TEST_F(EditingWindowTest, RedoBringsBackWhatUndoTook) {
  const QAction *undo = window->command("undo");
  const QAction *redo = window->command("redo");
  EXPECT_TRUE(undo->isEnabled() && !redo->isEnabled());
  type("10 END");
  for (const QKeyCombination key : {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z}) {
    SCOPED_TRACE(key.toCombined());
    keys({Qt::CTRL | Qt::Key_Z});
    EXPECT_TRUE(text().isEmpty() && redo->isEnabled() && undo->isEnabled());
    keys({key});
    EXPECT_TRUE(text() == "10 END" && undo->isEnabled() && !redo->isEnabled());
  }
}

TEST_F(EditingWindowTest, ModeSwitchReloadsAndAMissingListIsReported) {
  type("10 ope");
  keys({Qt::Key_Tab});
  EXPECT_EQ(text(), "10 opeEK"); // the standard list has no OPEN, but PEEK
  window->command("mode6")->trigger();
  keys({Qt::Key_Backspace, Qt::Key_Tab});
  EXPECT_EQ(text(), "10 opeN");
  window->command("mode5")->trigger();
  EXPECT_FALSE(window->session().keywords().contains("OPEN"));
  // A program folder with only the first list.
  ASSERT_TRUE(QFile::copy(window->session().paths().exeDir + "qmcode.txt", dir.path("qmcode.txt")));
  window = createMainWindow(ui, {}, {dir.root() + "/", iniPath(), dir.path("state")});
  window->command("mode6")->trigger();
  ASSERT_EQ(ui.messages.size(), 1U);
  EXPECT_TRUE(ui.messages[0].text.contains(QDir::toNativeSeparators(dir.root() + "/qmsrcode.txt")));
  EXPECT_TRUE(window->command("mode6")->isChecked() && window->session().keywords().isEmpty() &&
              !window->command("mode5")->isChecked());
}

TEST_F(EditingWindowTest, FormatCommandsReachTheEditor) {
  for (const bool wrap : {true, false}) {
    window->command("wordWrap")->trigger();
    EXPECT_EQ(editor().lineWrapMode(), wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    EXPECT_EQ(editor().wordWrapMode(), QTextOption::WrapAnywhere); // at the edge, not between words
    EXPECT_EQ(editor().horizontalScrollBarPolicy(), wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
  }
  const FontChoice chosen{QFont(QStringLiteral("IPAGothic"), 14), 0x0000FF};
  ui.fontAnswers = {std::nullopt, chosen, std::nullopt};
  ui.colorAnswers = {std::nullopt, TColor{0x00FF8000}, std::nullopt};
  ui.answers = {MsgResult::No}; // the red text hardly shows on that blue
  for (int i = 0; i < 3; ++i) {
    window->command("font")->trigger();
    window->command("background")->trigger();
  }
  ASSERT_EQ(ui.fontCalls.size(), 3U);
  EXPECT_TRUE(ui.fontCalls[1].font == ui.fontCalls[0].font && ui.fontCalls[2].font == chosen.font &&
              ui.fontCalls[2].color == 0x0000FFU);
  EXPECT_EQ(ui.colorCalls, std::vector<TColor>({clWindow, clWindow, 0x00FF8000U}));
  EXPECT_EQ(editor().palette().color(QPalette::Base), QColor(0, 128, 255));
  EXPECT_EQ(editor().palette().color(QPalette::Text), QColor(255, 0, 0));
  // Cut and Copy follow the selection, Paste the clipboard.
  QGuiApplication::clipboard()->clear();
  QCoreApplication::processEvents();
  EXPECT_FALSE(window->command("copy")->isEnabled() || window->command("paste")->isEnabled());
  type("10 PRINT");
  keys({Qt::SHIFT | Qt::Key_Left});
  EXPECT_TRUE(window->command("copy")->isEnabled());
  keys({Qt::CTRL | Qt::Key_X});
  QCoreApplication::processEvents();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "T");
  EXPECT_FALSE(window->command("cut")->isEnabled());
  EXPECT_TRUE(window->command("paste")->isEnabled());
}

// The zoom keys and Ctrl with the wheel type nothing and change only the view: the settings keep the font as
// chosen, and a font chosen ends the zoom.  The keyword colours stay on the lines, the legend keeps its size.
TEST_F(EditingWindowTest, ZoomShowsTheTextLargerOrSmallerAndKeepsTheChosenFont) {
  editor().setText("10 PRINT");
  window->command("keywordColours")->trigger();
  const auto formats = [this] {
    editor().viewport()->repaint();
    return editor().document()->firstBlock().layout()->formats().size();
  };
  const qsizetype coloured = formats();
  const QFont legend = window->panels().font();
  // A key with Ctrl, or with none a turn of the wheel with Ctrl; the size then.
  const std::tuple<int, int, double> rows[] = {
      {Qt::Key_Plus, 0, 11},  {Qt::Key_Semicolon, 0, 12},
      {Qt::Key_Equal, 0, 14}, {Qt::Key_Minus, 0, 12},
      {0, 120, 14},           {0, -60, 14},
      {0, -60, 12},           {Qt::Key_0, 0, 10},
      {Qt::Key_Minus, 0, 9},
  };
  for (const auto &[key, turn, points] : rows) {
    SCOPED_TRACE(::testing::Message() << key << ' ' << turn);
    QWheelEvent turned({5, 5}, {5, 5}, {}, {0, turn}, Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase,
                       false);
    turn != 0 ? void(QApplication::sendEvent(editor().viewport(), &turned)) : keys({Qt::CTRL | Qt::Key(key)});
    EXPECT_EQ(std::pair(editor().font().pointSizeF(), formats()), std::pair(points, coloured));
  }
  ui.fontAnswers.push_back(FontChoice{QFont(editor().chosenFont().family(), 16), editor().fontColor()});
  window->command("font")->trigger(); // taken as chosen: the zoom ends
  EXPECT_EQ(editor().font().pointSize(), 16);
  EXPECT_TRUE(text() == "10 PRINT" && !editor().modified() && window->panels().font() == legend);
  keys({Qt::CTRL | Qt::Key_Minus});
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(dir.read("kavrin.ini").contains("FontSize=16\r\n"));
}

// A colour on which the text hardly reads asks to change the text colour:
// Yes makes it black or white and saves it, No keeps both.
TEST_F(EditingWindowTest, AColourThatHidesTheTextAsksToChangeIt) {
  // The item, the colour chosen, the answer (Ok: nothing asked), the text colour then.
  const std::tuple<const char *, TColor, MsgResult, TColor> rows[] = {
      {"background", 0x000000, MsgResult::Yes, 0xFFFFFF}, {"background", 0x000000, MsgResult::No, 0},
      {"background", 0xC0FFFF, MsgResult::Ok, 0},         {"font", 0x00FFFF, MsgResult::Yes, 0},
      {"font", 0x00FFFF, MsgResult::No, 0x00FFFF},        {"font", 0x008000, MsgResult::Ok, 0x008000}};
  for (const auto &[item, chosen, answer, after] : rows) {
    SCOPED_TRACE(::testing::Message() << item << ' ' << std::hex << chosen);
    QFile::remove(iniPath());
    start();
    ui.messages.clear();
    ui.answers.assign(answer == MsgResult::Ok ? 0 : 1, answer);
    std::string_view(item) == "font" ? ui.fontAnswers.push_back(FontChoice{editor().chosenFont(), chosen})
                                     : ui.colorAnswers.push_back(chosen);
    window->command(item)->trigger();
    EXPECT_EQ(ui.messageTexts(), answer == MsgResult::Ok
                                     ? QStringList{}
                                     : QStringList{"文字が読みにくくなります。文字色を変えますか?"});
    EXPECT_EQ(editor().fontColor(), after);
    EXPECT_TRUE(dir.read("kavrin.ini").contains("FontColor=" + QByteArray::number(after) + "\r\n"));
  }
}

TEST_F(EditingWindowTest, FindGoesForwardFromTheCaretAndSelectsTheHit) {
  // The selection after each press; past the last hit, one past its start.
  const std::tuple<QString, int, QString, bool, bool, std::vector<std::pair<int, int>>> cases[] = {
      {"10 PRINT A\n20 PRINT B", 0, "PRINT", false, false, {{3, 5}, {14, 5}, {15, 0}, {15, 0}}},
      {"aaa", 0, "aa", false, false, {{0, 2}, {1, 2}, {2, 0}}},
      {"10 PRINT\n20 END", 9, "PRINT", false, false, {{9, 0}}},
      {"10 PRINT", 0, "print", true, false, {{0, 0}}},
      {"10 LPRINT\n20 PRINT", 0, "PRINT", false, true, {{13, 5}, {14, 0}}},
      {"10 END", 0, "", false, false, {{0, 0}}},
      {QString("10 END\n").repeated(200) + "20 PRINT", 0, "PRINT", false, false, {{1403, 5}}},
  };
  for (const auto &[text, caret, what, matchCase, wholeWord, selections] : cases) {
    SCOPED_TRACE(what.toStdString());
    editor().setText(text);
    editor().setSelStart(caret);
    SearchDialog &d = openFind();
    d.setFindText(what);
    d.matchCaseBox()->setChecked(matchCase);
    d.wholeWordBox()->setChecked(wholeWord);
    for (const auto &expected : selections) {
      ui.messages.clear();
      window->feature<SearchCommands>()->findNext(d);
      EXPECT_EQ(selection(), expected);
      EXPECT_TRUE(editor().viewport()->rect().contains(editor().cursorRect())); // scrolled to
      EXPECT_EQ(ui.messages.size(), expected.second == 0 ? 1U : 0U);
      EXPECT_TRUE(ui.messages.empty() || (ui.messages[0].text == "End of document reached." &&
                                          ui.messages[0].caption == "Find/Rep"));
    }
  }
}

TEST_F(EditingWindowTest, FindDialogIsSeededModelessAndFindsOnReturn) {
  editor().setText("10 PRINT\n20 PRINT");
  editor().setSelStart(3);
  editor().setSelLength(8); // "PRINT\n20": the first line seeds the dialog
  SearchDialog &d = openFind();
  auto *edit = d.findChild<QLineEdit *>();
  EXPECT_TRUE(!d.isModal() && becomesActive(d) && QApplication::focusWidget() == edit);
  EXPECT_TRUE(!d.findChild<QGroupBox *>()->isEnabled() && // only down
              d.findChildren<QRadioButton *>().at(1)->isChecked());
  QTest::keyClick(edit, Qt::Key_Return); // once, and not the selected word again
  EXPECT_EQ(selection(), std::pair(12, 5));
  window->activateWindow();
  ASSERT_TRUE(becomesActive(*window));
  editor().setSelStart(0);
  EXPECT_TRUE(&openFind() == &d && becomesActive(d));
  EXPECT_TRUE(d.findText().isEmpty() && !d.findNextButton()->isEnabled());
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_FALSE(d.isVisible());
  openFind();
  QTest::mouseClick(d.findChildren<QPushButton *>().at(1), Qt::LeftButton); // Cancel
  EXPECT_FALSE(d.isVisible());
}

TEST_F(EditingWindowTest, ReplaceFindsAsFindDoesAndReplacesOneOrAll) {
  editor().setText("10 A=A+1\n20 PRINT A");
  editor().setSelStart(3);
  editor().setSelLength(1);
  QTest::keyClick(&window->editor(), Qt::Key_H, Qt::ControlModifier);
  window->command("replace")->trigger(); // opened again: nothing runs twice
  SearchDialog &d = *window->feature<SearchCommands>()->replaceDialog();
  EXPECT_TRUE(!d.isModal() && becomesActive(d) && QApplication::focusWidget() == d.findEdit());
  EXPECT_EQ(d.findText(), "A");
  QTest::keyClick(d.findEdit(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), d.replaceEdit());
  QTest::keyClicks(d.replaceEdit(), "BB");
  d.replaceButton()->click(); // the selection is a hit: replaced, then the next one
  EXPECT_EQ(text(), "10 BB=A+1\n20 PRINT A");
  EXPECT_EQ(selection(), std::pair(6, 1));
  editor().setSelStart(0);
  d.replaceButton()->click(); // no hit selected: only finds
  EXPECT_EQ(selection(), std::pair(6, 1));
  d.replaceAllButton()->click();
  EXPECT_EQ(text(), "10 BB=BB+1\n20 PRINT BB");
  EXPECT_EQ(ui.messageTexts(), QStringList({"2 箇所を置換しました。"}));
  window->command("undo")->trigger();
  EXPECT_EQ(text(), "10 BB=A+1\n20 PRINT A");
  d.matchCaseBox()->setChecked(true);
  d.findEdit()->setText("a");
  d.findNextButton()->click();
  EXPECT_EQ(ui.messageTexts().last(), "End of document reached.");
}

} // namespace
} // namespace kavrin::testing
