#include "app/application.h"
#include "support/window_fixture.h"
#include "widgets/qt_user_interface.h"
#include "widgets/status_bar.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <cstdlib>

namespace kavrin::testing {
namespace {

using MainWindowTest = WindowTest;

// Each menu as its caption, then its items as "caption shortcut", "-" for a separator.
QStringList menuBarLayout(const QMenuBar &bar) {
  QStringList out;
  for (const QAction *column : bar.actions()) {
    out << column->text();
    for (const QAction *item : column->menu()->actions()) {
      out << (item->isSeparator() ? QStringLiteral("-")
                                  : (QStringLiteral("  ") + item->text() + u' ' +
                                     item->shortcut().toString(QKeySequence::PortableText))
                                        .trimmed());
    }
  }
  return out;
}

TEST_F(MainWindowTest, MenusKeepTheirOrderAccessKeysAndShortcuts) {
  // Each menu from its caption on, the items joined by "|".
  const QStringList expected =
      QStringLiteral(
          "ファイル(&F)|新規作成(&N) Ctrl+N|開く(&O)... Ctrl+O|上書き保存(&S) Ctrl+S|"
          "名前をつけて保存(&A)...|-|最近使ったファイル|&2|&3|&4|-|終了(&X)|"
          "編集(&E)|元に戻す(&U) Ctrl+Z|やり直し(&Y) Ctrl+Y|-|切り取り(&T) Ctrl+X|"
          "コピー(&C) Ctrl+C|貼り付け(&P) Ctrl+V|すべて選択(&A) Ctrl+A|-|検索(&F)... Ctrl+F|"
          "置換(&R)... Ctrl+H|行番号へ移動(&G)... Ctrl+G|参照先へ移動(&J) F12|"
          "この行への参照(&L)... Shift+F12|ラベル名の変更(&N)... F2|-|戻る(&B) Alt+Left|"
          "進む(&W) Alt+Right|次の結果へ(&X) F8|前の結果へ(&V) Shift+F8|-|設定(&O)...|"
          "書式(&O)|右端で折り返す(&W)|フォント(&F)...|背景色(&B)...|キーワードの色分け(&K)|-|"
          "結果パネル(&P) Ctrl+J|"
          "特別(&S)|AUTO(&A)|変換(&T)...|エミュレータで実行(&E) Ctrl+F5|エミュレータの設定(&M)...|-|"
          "モード1-5(&5)|モード6(&6)|-|番号の振り直し(&R)...|行の移動(&V)...|行番号順に整列(&L)|"
          "プログラムの検査(&K)|-|ラベル形式に変換(&B)|行番号形式に変換(&N)|番号付きで保存(&U)...|"
          "ヘルプ(&H)|バージョン情報(&A)...|Qt について(&Q)...")
          .split(u'|');
  EXPECT_EQ(menuBarLayout(*window->menuBar()), expected);
  // A command no menu places could not be reached.
  for (QAction *item : window->findChildren<QAction *>()) {
    if (!item->objectName().isEmpty()) {
      EXPECT_FALSE(item->associatedObjects().isEmpty()) << item->objectName().toStdString();
    }
  }
}

TEST_F(MainWindowTest, ClosingAsksAboutChangesAndCancelKeepsTheWindow) {
  type("10 END");
  ui.answers = {MsgResult::Cancel, MsgResult::No};
  window->command("exit")->trigger();
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(QFile::exists(iniPath())); // nor writes the settings
  window->command("exit")->trigger();
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(QFile::exists(iniPath()));
}

TEST_F(MainWindowTest, StatusPanelsShareTheOuterWidth) {
  for (const auto &[width, panel] : {std::pair{600, 100}, {605, 100}, {541, 90}}) {
    window->setOuterGeometry({0, 0, width, 300});
    ASSERT_EQ(window->frameGeometry().width(), width);
    for (int i = 0; i < PanelStatusBar::kPanelCount; ++i) {
      EXPECT_EQ(window->panels().panelWidth(i), panel) << width;
    }
  }
}

// A key's text is drawn in its own panel, cut at its edge, never over the next.
TEST_F(MainWindowTest, ALegendPanelDrawsItsTextWithinItsBox) {
  auto keys = window->session().preferences().functionKeys;
  keys[0] = QString(60, u'W');
  keys[1].clear();
  setPreference(&Preferences::functionKeys, keys);
  PanelStatusBar &bar = window->panels();
  const QImage shot = bar.grab().toImage();
  // Whether text, further from the panels' colour than their shading, stands between columns.
  const int background = qGray(bar.palette().color(QPalette::Window).rgb());
  const auto inked = [&shot, background](int from, int to) {
    for (int x = from; x < to; ++x) {
      for (int y = 3; y < shot.height() - 3; ++y) {
        if (std::abs(qGray(shot.pixel(x, y)) - background) > 120) {
          return true;
        }
      }
    }
    return false;
  };
  const int second = bar.panelWidth(0), third = second + bar.panelWidth(1);
  EXPECT_TRUE(inked(3, second - 4));
  EXPECT_FALSE(inked(second + 2, third - 4));
  EXPECT_TRUE(inked(third + 3, third + bar.panelWidth(2) - 4)); // a panel's clip ends with it
  // A new text is drawn at once, not at the next paint for another reason.
  struct Paints : QObject {
    int count = 0;
    bool eventFilter(QObject * /*watched*/, QEvent *event) override {
      count += event->type() == QEvent::Paint ? 1 : 0;
      return false;
    }
  } paints;
  bar.installEventFilter(&paints);
  keys[1] = "NEW";
  setPreference(&Preferences::functionKeys, keys);
  EXPECT_TRUE(QTest::qWaitFor([&paints] { return paints.count > 0; }, 1000));
}

TEST(StartUp, TheWindowIconComesOnceTheWindowIsPainted) {
  QApplication::setWindowIcon(QIcon());
  ScriptedUserInterface ui;
  TempDir dir;
  const auto window = createMainWindow(ui, {}, testPaths(dir));
  ASSERT_TRUE(window);
  EXPECT_TRUE(QApplication::windowIcon().isNull());
  window->show();
  EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::windowIcon().isNull(); }, 2000));
  EXPECT_EQ(QApplication::windowIcon().actualSize(QSize(256, 256)), QSize(256, 256)); // sharp at any scale
  EXPECT_EQ(QGuiApplication::desktopFileName(), "kavrin"); // the desktop's name and icon for the window
}

TEST(StartUp, TheFirstArgumentOpensAndAMissingOneEndsStartUp) {
  ScriptedUserInterface ui;
  TempDir dir;
  const QString a = dir.write("a.txt", "10 CLS\r\n");
  const auto window = createMainWindow(ui, {a, dir.write("b.txt", "B")}, testPaths(dir));
  ASSERT_TRUE(window);
  EXPECT_EQ(window->editor().toPlainText(), "10 CLS\n");
  EXPECT_EQ(window->windowTitle(), "a.txt - kavrin");
  EXPECT_FALSE(window->editor().modified());
  // A name relative to the current folder is kept in full.
  const QString here = QDir::currentPath();
  QDir::setCurrent(dir.path(""));
  const auto relative = createMainWindow(ui, {"a.txt"}, testPaths(dir));
  QDir::setCurrent(here);
  ASSERT_TRUE(relative);
  EXPECT_EQ(relative->session().fileName(), a);

  EXPECT_FALSE(createMainWindow(ui, {dir.path("none.txt")}, testPaths(dir)));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].text.contains("none.txt"));
}

} // namespace
} // namespace kavrin::testing
