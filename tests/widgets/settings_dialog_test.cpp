#include "support/window_fixture.h"

#include "widgets/settings_dialog.h"
#include "widgets/status_bar.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <tuple>

namespace kavrin::testing {
namespace {

struct SettingsDialogTest : WindowTest {
  void withDialog(const std::function<void(SettingsDialog &)> &script) {
    ui.modalScripts.push_back([&script](QDialog &dialog) { script(static_cast<SettingsDialog &>(dialog)); });
    window->command("settings")->trigger();
  }
};

TEST_F(SettingsDialogTest, EveryShowingStartsFromTheSettingsAndNeitherEnterNorEscClosesIt) {
  withDialog([](SettingsDialog &d) {
    d.keyEdit(0)->setText("CANCELLED");
    QTest::keyClick(d.keyEdit(0), Qt::Key_Return);
    QTest::keyClick(d.keyEdit(0), Qt::Key_Escape);
    EXPECT_TRUE(d.isVisible());
    d.cancelButton()->click();
  });
  setPreference(&Preferences::autoIncrement, -10);
  withDialog([](SettingsDialog &d) {
    EXPECT_EQ(d.focusWidget(), d.keyEdit(0));
    EXPECT_EQ(d.keyEdit(0)->text(), "COLOR ");
    EXPECT_EQ(d.keyEdit(9)->text(), "CONT(ret)");
    EXPECT_EQ(d.incrementEdit()->text(), "-10");
    EXPECT_EQ(d.converterEdit()->text(), "txt2bas.exe");
    QStringList rules;
    for (const basic::CheckRule rule : basic::kOptionalRules) {
      EXPECT_TRUE(d.ruleCheck(rule)->isChecked());
      rules << d.ruleCheck(rule)->text();
    }
    EXPECT_EQ(rules.join(u'|'), "同じ行番号|文字列の外の全角文字|¥ と ‾|先頭 2 文字が同じ変数名|"
                                "FOR のない NEXT|NEXT のない FOR|RETURN のない GOSUB|到達できない行");
    d.close(); // the title bar's close button cancels too
  });
}

TEST_F(SettingsDialogTest, EveryControlStandsWithinItsFrameAndOverNoOther) {
  withDialog([](SettingsDialog &d) {
    const QList<QWidget *> all = d.findChildren<QWidget *>();
    int shown = 0;
    for (QWidget *w : all) {
      if (w->isWindow() || w->parentWidget() == nullptr || !w->isVisibleTo(&d) ||
          (qobject_cast<QLabel *>(w) == nullptr && !w->inherits("QAbstractButton") &&
           !w->inherits("QLineEdit") && !w->inherits("QGroupBox"))) {
        continue; // parts of a control, not one
      }
      ++shown;
      const QString name = w->metaObject()->className() + QStringLiteral(" ") + w->objectName();
      EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry())) << name.toStdString();
      for (QWidget *other : all) {
        if (other != w && other->parentWidget() == w->parentWidget() && other->isVisibleTo(&d) &&
            !other->isWindow() && other->metaObject() != &QWidget::staticMetaObject) {
          EXPECT_FALSE(w->geometry().intersects(other->geometry()))
              << name.toStdString() << " / " << other->metaObject()->className();
        }
      }
    }
    EXPECT_GE(shown, 40); // 5 frames, 21 labels and edits of the keys, 8 rules, ...
    EXPECT_EQ(QStringList({d.okButton()->text(), d.cancelButton()->text(), d.browseButton()->text()}),
              QStringList({"OK", "キャンセル", "参照..."}));
    d.close();
  });
}

TEST_F(SettingsDialogTest, OkTakesOverACheckedIncrementTheKeysAndABrowsedConverter) {
  ui.openAnswers = {dir.path("txt2bas.exe"), std::nullopt};
  withDialog([this](SettingsDialog &d) {
    d.keyEdit(0)->setText("RUN(ret)(ret)");
    d.ruleCheck(basic::checkRule("TwoCharNames"))->setChecked(false);
    d.browseButton()->click();
    d.browseButton()->click(); // cancelled
    for (const char *bad : {"abc", "", "10x", "99999999999"}) {
      SCOPED_TRACE(bad);
      d.incrementEdit()->setText(bad);
      d.okButton()->click();
      EXPECT_TRUE(d.isVisible());
      EXPECT_EQ(ui.messages.back().text, QString("'%1' は整数ではありません。").arg(bad));
      EXPECT_EQ(d.incrementEdit()->selectedText(), bad); // ready to be typed over
      EXPECT_EQ(window->session().preferences().functionKeys[0], "COLOR ");
    }
    d.incrementEdit()->setText("0");
    // Shift-JIS cannot hold these; the field keeps the focus, the character selected.
    const std::tuple<QLineEdit *, QString, QString, QString> unstorable[] = {
        {d.keyEdit(6), "A😀B", "😀", "Shift-F2 のテキストに、Shift-JIS で保存できない文字「😀」があります。"},
        {d.keyEdit(2), "한", "한", "F3 のテキストに、Shift-JIS で保存できない文字「한」があります。"},
        {d.converterEdit(), "/opt/😀/a.exe", "😀",
         "変換プログラムの場所に、Shift-JIS で保存できない文字「😀」があります。"},
    };
    for (const auto &[edit, bad, selected, message] : unstorable) {
      SCOPED_TRACE(bad.toStdString());
      const QString kept = edit->text();
      edit->setText(bad);
      d.okButton()->click();
      EXPECT_TRUE(d.isVisible() && d.focusWidget() == edit && edit->selectedText() == selected);
      EXPECT_EQ(ui.messages.back().text, message);
      EXPECT_EQ(window->session().preferences().functionKeys[0], "COLOR ");
      edit->setText(kept);
    }
    d.okButton()->click();
  });
  EXPECT_EQ(window->session().preferences().functionKeys[0], "RUN\r\n\r\n");
  EXPECT_EQ(window->panels().panelText(0), "RUN\r\n\r\n");
  EXPECT_EQ(window->session().preferences().autoIncrement, 0);
  EXPECT_FALSE(window->session().preferences().check.enabled(basic::checkRule("TwoCharNames")));
  EXPECT_TRUE(window->session().preferences().check.enabled(basic::checkRule("ForWithoutNext")));
  EXPECT_EQ(window->session().preferences().converter, dir.path("txt2bas.exe"));
  EXPECT_EQ(ui.openCalls.at(0).filter, "プログラム (*.exe)|*.EXE|すべてのファイル (*.*)|*.*");
}

} // namespace
} // namespace kavrin::testing
