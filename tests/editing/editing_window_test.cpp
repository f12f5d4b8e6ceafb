#include "support/window_fixture.h"

#include "platform/colors.h"
#include "widgets/status_bar.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>

#include <initializer_list>

namespace kavrin::testing {
namespace {

class EditingWindowTest : public WindowTest {
protected:
  void keys(std::initializer_list<QKeyCombination> combinations) {
    for (const QKeyCombination k : combinations) {
      QTest::keyClick(form->RichEdit1, k.key(), k.keyboardModifiers());
    }
  }
  QString panel(int i) { return form->StatusBar1->panelText(i); }
};

TEST_F(EditingWindowTest, TabCompletesAndNeverInsertsOrMovesTheFocus) {
  type("10 ");
  keys({Qt::CTRL | Qt::Key_Tab});
  type("pri");
  keys({Qt::Key_Tab, Qt::SHIFT | Qt::Key_Tab}); // Shift with a plain Tab key steps back
  EXPECT_EQ(text(), "10 pri");
  keys({Qt::SHIFT | Qt::Key_Backtab});
  EXPECT_EQ(text(), "10 priNT");
  EXPECT_TRUE(ui.beeps == 2 && QApplication::focusWidget() == form->RichEdit1);
  // Shift alone leaves the cycle on, so Backspace takes the tail.
  QTest::keyPress(form->RichEdit1, Qt::Key_Shift, Qt::ShiftModifier);
  QTest::keyRelease(form->RichEdit1, Qt::Key_Shift, Qt::NoModifier);
  keys({Qt::Key_Backspace, Qt::Key_Tab});
  // Menu shortcuts go to the menu; the completion is one undo step.
  int undone = 0;
  QObject::connect(form->Undo1, &QAction::triggered, [&undone] { ++undone; });
  keys({Qt::CTRL | Qt::Key_Z});
  EXPECT_EQ(undone, 1);
  EXPECT_EQ(text(), "10 pri");
}

TEST_F(EditingWindowTest, KeyTextsLegendAndInsert) {
  type("10 pri");
  keys({Qt::Key_Tab, Qt::Key_F3, Qt::SHIFT | Qt::Key_F3, Qt::Key_F5}); // F5's line break gets no number
  EXPECT_EQ(text(), "10 priNTGOTO PRINT RUN\n");
  QTest::keyPress(form->RichEdit1, Qt::Key_Shift, Qt::ShiftModifier);
  EXPECT_EQ(panel(0), form->FunctionKeys[5]);
  QTest::keyRelease(form->RichEdit1, Qt::Key_Shift, Qt::NoModifier);
  EXPECT_EQ(panel(0), form->FunctionKeys[0]);
  keys({Qt::Key_Up, Qt::Key_Insert});
  type("20");
  EXPECT_EQ(panel(5), "OVW");
  keys({Qt::Key_Insert});
  type("0");
  EXPECT_TRUE(text() == "200 priNTGOTO PRINT RUN\n" && panel(5) == "INS");
}

TEST_F(EditingWindowTest, ReturnWithAutoNumbersAndKeepsACompletion) {
  type("10 pri");
  keys({Qt::Key_Tab, Qt::Key_Return, QKeyCombination(Qt::KeypadModifier, Qt::Key_Enter),
        Qt::SHIFT | Qt::Key_Return});
  form->Undo1->trigger(); // one step takes the whole numbered break back
  EXPECT_EQ(text(), "10 priNT\n20 \n30 ");
  form->AUTO1->trigger();
  type("go");
  keys({Qt::Key_Tab, Qt::Key_Return});
  EXPECT_EQ(text(), "10 priNT\n20 \n30 goSUB\n");
}

TEST_F(EditingWindowTest, ModeSwitchReloadsAndAMissingListIsReported) {
  type("10 ope");
  keys({Qt::Key_Tab});
  EXPECT_EQ(text(), "10 opeEK"); // the standard list has no OPEN, but PEEK
  form->Mode6->trigger();
  keys({Qt::Key_Backspace, Qt::Key_Tab});
  EXPECT_EQ(text(), "10 opeN");
  form->Mode5->trigger();
  EXPECT_FALSE(form->Keywords.contains("OPEN"));
  form->ExeDir = dir.root() + "/";
  form->Mode6->trigger();
  ASSERT_EQ(ui.messages.size(), 1U);
  EXPECT_TRUE(ui.messages[0].text.contains(dir.root() + "/qmsrcode.txt"));
  EXPECT_TRUE(form->Mode6->isChecked() && form->Keywords.isEmpty() && !form->Mode5->isChecked());
}

TEST_F(EditingWindowTest, FormatCommandsReachTheEditor) {
  for (const bool wrap : {true, false}) {
    form->Wrap1->trigger();
    EXPECT_EQ(editor().lineWrapMode(), wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    EXPECT_EQ(editor().horizontalScrollBarPolicy(), wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
  }
  const FontChoice chosen{QFont(QStringLiteral("IPAGothic"), 14), 0x0000FF};
  ui.fontAnswers = {std::nullopt, chosen, std::nullopt};
  ui.colorAnswers = {std::nullopt, TColor{0x00FF8000}, std::nullopt};
  for (int i = 0; i < 3; ++i) {
    form->Font1->trigger();
    form->Back1->trigger();
  }
  ASSERT_EQ(ui.fontCalls.size(), 3U);
  EXPECT_TRUE(ui.fontCalls[1].font == ui.fontCalls[0].font && ui.fontCalls[2].font == chosen.font);
  EXPECT_EQ(ui.fontCalls[2].color, 0x0000FFU);
  EXPECT_EQ(editor().palette().color(QPalette::Text), QColor(255, 0, 0));
  EXPECT_EQ(ui.colorCalls, std::vector<TColor>({clWindow, clWindow, 0x00FF8000U}));
  EXPECT_EQ(editor().palette().color(QPalette::Base), QColor(0, 128, 255));
  // Cut and Copy follow the selection, Paste the clipboard.
  QGuiApplication::clipboard()->clear();
  QCoreApplication::processEvents();
  EXPECT_FALSE(form->Copy1->isEnabled() || form->Paste1->isEnabled());
  type("10 PRINT");
  keys({Qt::SHIFT | Qt::Key_Left});
  EXPECT_TRUE(form->Copy1->isEnabled());
  keys({Qt::CTRL | Qt::Key_X});
  QCoreApplication::processEvents();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "T");
  EXPECT_FALSE(form->Cut1->isEnabled());
  EXPECT_TRUE(form->Paste1->isEnabled());
}

} // namespace
} // namespace kavrin::testing
