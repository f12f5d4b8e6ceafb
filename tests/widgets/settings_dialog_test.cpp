#include "support/window_fixture.h"

#include "widgets/status_bar.h"
#include "widgets/tform2.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kavrin::testing {
namespace {

class SettingsDialogTest : public WindowTest {
protected:
  // Opens the dialog from the menu and runs `script` on it while it shows.
  void withDialog(const std::function<void(TForm2 &)> &script) {
    ui.modalScripts.push_back([&script](QDialog &dialog) { script(static_cast<TForm2 &>(dialog)); });
    form->Option1->trigger();
  }
  static void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
};

TEST_F(SettingsDialogTest, IsMadeOnceWithTheDesignedLayout) {
  EXPECT_EQ(Form2, nullptr);
  withDialog([](TForm2 &d) { QTest::mouseClick(d.Button2, Qt::LeftButton); });
  ASSERT_NE(Form2, nullptr);
  TForm2 &d = *Form2;
  withDialog([&d](TForm2 &shown) {
    EXPECT_EQ(&shown, &d); // kept between showings
    QTest::mouseClick(d.Button2, Qt::LeftButton);
  });
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.windowTitle(), "Setting");
  EXPECT_EQ(d.size(), QSize(536, 348));
  EXPECT_EQ(d.minimumSize(), d.maximumSize());
  EXPECT_EQ(d.GroupBox1->title(), "ファンクションキー");
  EXPECT_EQ(d.GroupBox3->title(), "変換プログラム");
  EXPECT_EQ(d.Edit6->geometry(), QRect(248, 32, 121, 20));
  EXPECT_EQ(d.Edit6->parentWidget(), d.GroupBox1);
  EXPECT_EQ(d.Button3->geometry(), QRect(312, 16, 75, 25));
  EXPECT_EQ(d.Button2->text(), "キャンセル");
  EXPECT_EQ(d.Labels[5]->text(), "Shift-F1");
  EXPECT_EQ(d.KeyEdits[5], d.Edit6);
}

TEST_F(SettingsDialogTest, TabRunsDownTheKeysThenTheRest) {
  withDialog([](TForm2 &d) {
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    EXPECT_EQ(d.focusWidget(), d.Edit1);
    QStringList order;
    for (int i = 0; i < 15; ++i) {
      QWidget *now = d.focusWidget();
      order << now->objectName();
      QTest::keyClick(now, Qt::Key_Tab);
    }
    EXPECT_EQ(order, QStringList({"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8",
                                  "Edit9", "Edit10", "Edit11", "Edit12", "Button3", "Button1", "Button2"}));
    EXPECT_EQ(d.focusWidget(), d.Edit1);
    QTest::mouseClick(d.Button2, Qt::LeftButton);
  });
}

TEST_F(SettingsDialogTest, ShowsTheCurrentSettingsEveryTime) {
  form->AutoAdd = -10;
  form->ConvProg = "C:\\t\\csave.exe";
  withDialog([](TForm2 &d) {
    EXPECT_EQ(d.Edit1->text(), "COLOR ");
    EXPECT_EQ(d.Edit5->text(), "RUN(ret)");
    EXPECT_EQ(d.Edit10->text(), "CONT(ret)");
    EXPECT_EQ(d.Edit11->text(), "-10");
    EXPECT_EQ(d.Edit12->text(), "C:\\t\\csave.exe");
    d.Edit1->setText("CHANGED");
    click(d.Button2);
    EXPECT_FALSE(d.isVisible());
  });
  EXPECT_EQ(form->FunctionKeys[0], "COLOR ");
  withDialog([](TForm2 &d) {
    EXPECT_EQ(d.Edit1->text(), "COLOR ");
    d.Edit1->setText("CHANGED");
    d.close(); // the title bar's close button cancels too
  });
  EXPECT_EQ(form->FunctionKeys[0], "COLOR ");
}

TEST_F(SettingsDialogTest, OkTakesEverythingOverAndTheLegendFollows) {
  withDialog([](TForm2 &d) {
    d.Edit1->setText("RUN(ret)(ret)");
    d.Edit6->setText(" LOCATE ");
    d.Edit11->setText("0");
    d.Edit12->setText("/opt/conv/txt2bas");
    click(d.Button1);
    EXPECT_FALSE(d.isVisible());
  });
  EXPECT_EQ(form->FunctionKeys[0], "RUN\r\n\r\n");
  EXPECT_EQ(form->FunctionKeys[5], " LOCATE ");
  EXPECT_EQ(form->AutoAdd, 0);
  EXPECT_EQ(form->ConvProg, "/opt/conv/txt2bas");
  EXPECT_EQ(form->StatusBar1->panelText(0), "RUN\r\n\r\n");
  QTest::keyClick(form->RichEdit1, Qt::Key_F1);
  EXPECT_EQ(text(), "RUN\n\n");
}

TEST_F(SettingsDialogTest, ABadIncrementIsReportedAndTakesNothingOver) {
  withDialog([this](TForm2 &d) {
    d.Edit1->setText("NEW");
    for (const char *bad : {"abc", "", "10x", "99999999999"}) {
      d.Edit11->setText(bad);
      click(d.Button1);
      EXPECT_TRUE(d.isVisible()) << bad;
      ASSERT_FALSE(ui.messages.empty());
      EXPECT_TRUE(ui.messages.back().text.contains(QString("'%1'").arg(bad))) << bad;
    }
    EXPECT_EQ(form->FunctionKeys[0], "COLOR ");
    EXPECT_EQ(d.Edit1->text(), "NEW"); // the user's entries stay
    click(d.Button2);
  });
  EXPECT_EQ(form->FunctionKeys[0], "COLOR ");
  EXPECT_EQ(form->AutoAdd, 10);
  EXPECT_EQ(ui.messages.size(), 4U);
}

TEST_F(SettingsDialogTest, EnterAndEscCloseNothing) {
  withDialog([](TForm2 &d) {
    d.Edit11->setFocus();
    d.Edit11->setText("20");
    QTest::keyClick(d.Edit11, Qt::Key_Return);
    QTest::keyClick(d.Edit11, Qt::Key_Escape);
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_TRUE(d.isVisible());
    click(d.Button2);
  });
  EXPECT_EQ(form->AutoAdd, 10);
}

TEST_F(SettingsDialogTest, BrowsingFillsOnlyTheBox) {
  ui.openAnswers.push_back(dir.path("txt2bas.exe"));
  ui.openAnswers.push_back(std::nullopt);
  withDialog([this](TForm2 &d) {
    click(d.Button3);
    EXPECT_EQ(d.Edit12->text(), dir.path("txt2bas.exe"));
    click(d.Button3);
    EXPECT_EQ(d.Edit12->text(), dir.path("txt2bas.exe"));
    click(d.Button2);
  });
  EXPECT_EQ(form->ConvProg, "txt2bas.exe");
  ASSERT_EQ(ui.openCalls.size(), 2U);
  EXPECT_EQ(ui.openCalls[0].state.filter, "プログラム (*.exe)|*.EXE|すべてのファイル (*.*)|*.*");
  // The dialog keeps its own state, apart from the main window's.
  EXPECT_EQ(ui.openCalls[1].state.fileName, dir.path("txt2bas.exe"));
  EXPECT_NE(form->OpenDialog1.filter, ui.openCalls[0].state.filter);
}

TEST_F(SettingsDialogTest, KeysChangedHereReachTheFileOnlyAtTheClose) {
  withDialog([](TForm2 &d) {
    d.Edit3->setText("GOSUB ");
    click(d.Button1);
  });
  EXPECT_FALSE(QFile::exists(iniPath()));
  form->close();
  EXPECT_TRUE(dir.read("kavrin.ini").contains("F3=.GOSUB .\r\n"));
}

} // namespace
} // namespace kavrin::testing
