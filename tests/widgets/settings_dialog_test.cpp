#include "support/window_fixture.h"

#include "widgets/status_bar.h"
#include "widgets/tform2.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

#include <tuple>

namespace kavrin::testing {
namespace {

struct SettingsDialogTest : WindowTest {
  // Opens the dialog from the menu and runs `script` on it while it shows.
  void withDialog(const std::function<void(TForm2 &)> &script) {
    ui.modalScripts.push_back([&script](QDialog &dialog) { script(static_cast<TForm2 &>(dialog)); });
    form->Option1->trigger();
  }
};

TEST_F(SettingsDialogTest, EveryShowingStartsFromTheSettingsAndNeitherEnterNorEscClosesIt) {
  withDialog([](TForm2 &d) {
    d.Edit1->setText("CANCELLED");
    QTest::keyClick(d.Edit1, Qt::Key_Return);
    QTest::keyClick(d.Edit1, Qt::Key_Escape);
    EXPECT_TRUE(d.isVisible());
    d.Button2->click();
  });
  form->AutoAdd = -10;
  withDialog([](TForm2 &d) {
    EXPECT_EQ(d.focusWidget(), d.Edit1);
    EXPECT_EQ(d.Edit1->text(), "COLOR ");
    EXPECT_EQ(d.Edit10->text(), "CONT(ret)");
    EXPECT_EQ(d.Edit11->text(), "-10");
    EXPECT_EQ(d.Edit12->text(), "txt2bas.exe");
    d.close(); // the title bar's close button cancels too
  });
}

TEST_F(SettingsDialogTest, OkTakesOverACheckedIncrementTheKeysAndABrowsedConverter) {
  ui.openAnswers = {dir.path("txt2bas.exe"), std::nullopt};
  withDialog([this](TForm2 &d) {
    d.Edit1->setText("RUN(ret)(ret)");
    d.Button3->click();
    d.Button3->click(); // cancelled
    for (const char *bad : {"abc", "", "10x", "99999999999"}) {
      SCOPED_TRACE(bad);
      d.Edit11->setText(bad);
      d.Button1->click();
      EXPECT_TRUE(d.isVisible());
      EXPECT_EQ(ui.messages.back().text, QString("'%1' は整数ではありません。").arg(bad));
      EXPECT_EQ(form->FunctionKeys[0], "COLOR ");
    }
    d.Edit11->setText("0");
    // Shift-JIS cannot hold these; the field keeps the focus, the character selected.
    const std::tuple<QLineEdit *, QString, QString, QString> unstorable[] = {
        {d.Edit7, "A😀B", "😀", "Shift-F2 のテキストに、シフトJISで保存できない文字「😀」があります。"},
        {d.Edit3, "한", "한", "F3 のテキストに、シフトJISで保存できない文字「한」があります。"},
        {d.Edit12, "/opt/😀/a.exe", "😀",
         "変換プログラムの場所に、シフトJISで保存できない文字「😀」があります。"},
    };
    for (const auto &[edit, bad, selected, message] : unstorable) {
      SCOPED_TRACE(bad.toStdString());
      const QString kept = edit->text();
      edit->setText(bad);
      d.Button1->click();
      EXPECT_TRUE(d.isVisible() && d.focusWidget() == edit && edit->selectedText() == selected);
      EXPECT_EQ(ui.messages.back().text, message);
      EXPECT_EQ(form->FunctionKeys[0], "COLOR ");
      edit->setText(kept);
    }
    d.Button1->click();
  });
  EXPECT_EQ(form->FunctionKeys[0], "RUN\r\n\r\n");
  EXPECT_EQ(form->StatusBar1->panelText(0), "RUN\r\n\r\n");
  EXPECT_EQ(form->AutoAdd, 0);
  EXPECT_EQ(form->ConvProg, dir.path("txt2bas.exe"));
  EXPECT_EQ(ui.openCalls.at(0).filter, "プログラム (*.exe)|*.EXE|すべてのファイル (*.*)|*.*");
}

} // namespace
} // namespace kavrin::testing
