#include "app/application.h"
#include "widgets/status_bar.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>

namespace kavrin {
namespace {

using testing::kSaveQuestion;
using testing::WindowTest;

// Caption, shortcut and check state of every entry of a menu; separators
// read "-".
QStringList describe(QMenu *menu) {
  QStringList items;
  for (QAction *a : menu->actions()) {
    if (a->isSeparator()) {
      items << QStringLiteral("-");
      continue;
    }
    QString item = a->text();
    if (!a->shortcut().isEmpty()) {
      item += u'\t' + a->shortcut().toString(QKeySequence::PortableText);
    }
    if (a->isCheckable()) {
      item += a->isChecked() ? QStringLiteral(" [x]") : QStringLiteral(" [ ]");
    }
    items << item;
  }
  return items;
}

class MainWindowTest : public WindowTest {
protected:
  // Drags the files onto `target` and drops them, as a file manager does.
  void dropFiles(QWidget *target, const QStringList &paths) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString &p : paths) {
      urls << (p.startsWith(u'/') ? QUrl::fromLocalFile(p) : QUrl(p));
    }
    mime.setUrls(urls);
    mime.setText(urls.first().toString());
    drop(target, mime);
  }

  static void drop(QWidget *target, const QMimeData &mime) {
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent dropEvent(QPointF(at), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &dropEvent);
    settle();
  }
};

TEST_F(MainWindowTest, MenuTreeInOrder) {
  QStringList bar;
  for (QAction *a : form->MainMenu1->actions()) {
    bar << a->text();
  }
  EXPECT_EQ(bar, (QStringList{"ファイル(&F)", "編集(&E)", "書式(&O)", "特別(&S)"}));
  EXPECT_EQ(describe(form->File1), (QStringList{"新規作成(&N)\tCtrl+N", "開く(&O)...\tCtrl+O",
                                                "上書き保存(&S)\tCtrl+S", "名前をつけて保存(&A)...", "-",
                                                "最近使ったファイル", "&2", "&3", "&4", "-", "終了(&X)"}));
  EXPECT_EQ(describe(form->Edit1),
            (QStringList{"元に戻す(&U)\tCtrl+Z", "-", "切り取り(&T)\tCtrl+X", "コピー(&C)\tCtrl+C",
                         "貼り付け(&P)\tCtrl+V", "すべて選択(&A)\tCtrl+A", "-", "検索(&F)...\tCtrl+F", "-",
                         "設定(&O)..."}));
  EXPECT_EQ(describe(form->Format1),
            (QStringList{"右端で折り返す(&W) [ ]", "フォント(&F)...", "背景色(&B)..."}));
  EXPECT_EQ(describe(form->Special1),
            (QStringList{"AUTO(&A) [x]", "変換(&T)...", "-", "モード1-5(&5) [x]", "モード6(&6) [ ]"}));
  // The two modes exclude each other.
  form->Mode6->trigger();
  EXPECT_FALSE(form->Mode5->isChecked());
  EXPECT_EQ(form->Cut1, form->EditCut1);
  EXPECT_EQ(form->EditCopy1->statusTip(), QStringLiteral("コピー"));
}

TEST_F(MainWindowTest, AFirstStartHasTheDefaultStateAndPlace) {
  EXPECT_EQ(form->windowTitle(), QStringLiteral("kavrin"));
  EXPECT_EQ(form->frameGeometry().topLeft(), QPoint(192, 107));
  EXPECT_EQ(form->frameGeometry().size(), QSize(536, 329));
  EXPECT_EQ(text(), QString());
  EXPECT_FALSE(editor().modified());
  EXPECT_TRUE(form->InsertMode);
  EXPECT_FALSE(form->ShiftDown);
  EXPECT_EQ(form->FunctionKeys[4], QStringLiteral("RUN\r\n"));
  EXPECT_EQ(form->ConvProg, QStringLiteral("txt2bas.exe"));
  EXPECT_TRUE(form->IniFile.endsWith(QStringLiteral("kavrin.ini")));
  EXPECT_EQ(form->RecentFiles.size(), 4);
  EXPECT_EQ(editor().lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(editor().wordWrapMode(), QTextOption::WrapAnywhere);
}

TEST_F(MainWindowTest, StatusPanelsShareTheOuterWidth) {
  for (const auto &[width, panel] : {std::pair{600, 100}, {605, 100}, {541, 90}}) {
    form->setOuterGeometry(0, 0, width, 300);
    ASSERT_EQ(form->frameGeometry().width(), width);
    for (int i = 0; i < PanelStatusBar::kPanelCount; ++i) {
      EXPECT_EQ(form->StatusBar1->panelWidth(i), panel) << width;
    }
  }
  EXPECT_EQ(form->StatusBar1->height(), 19);
}

TEST_F(MainWindowTest, OnlyTheFirstDroppedFileOpensAfterTheQuestion) {
  const QString a = dir.write(QStringLiteral("one.txt"), "ONE");
  const QString b = dir.write(QStringLiteral("two.txt"), "TWO");
  type(QStringLiteral("typed"));
  ui.answers = {MsgResult::Cancel};
  dropFiles(editor().viewport(), {a, b});
  EXPECT_EQ(ui.messageTexts(), QStringList{kSaveQuestion});
  EXPECT_EQ(text(), QStringLiteral("typed"));
  EXPECT_TRUE(form->FileName.isEmpty());
  EXPECT_EQ(form->windowTitle(), QStringLiteral("kavrin"));

  ui.answers = {MsgResult::No};
  dropFiles(editor().viewport(), {QStringLiteral("https://example.com/x.txt"), a, b});
  EXPECT_EQ(text(), QStringLiteral("ONE"));
  EXPECT_EQ(form->FileName, a);
  EXPECT_EQ(form->RecentFiles, (QStringList{a, QString(), QString(), QString()}));

  // Outside the editor too.
  dropFiles(form->StatusBar1, {b});
  EXPECT_EQ(text(), QStringLiteral("TWO"));
}

TEST_F(MainWindowTest, DroppingAMissingFileReportsAndKeepsTheDocument) {
  dropFiles(editor().viewport(), {dir.path(QStringLiteral("gone.txt"))});
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("gone.txt")));
  EXPECT_TRUE(form->FileName.isEmpty());
}

TEST_F(MainWindowTest, DroppedTextIsStillText) {
  QMimeData mime;
  mime.setText(QStringLiteral("20 GOTO 10"));
  drop(editor().viewport(), mime);
  EXPECT_EQ(text(), QStringLiteral("20 GOTO 10"));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainWindowTest, ExitAsksAndCancelKeepsTheWindow) {
  type(QStringLiteral("10 END"));
  ui.answers = {MsgResult::Cancel};
  form->Exit1->trigger();
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(text(), QStringLiteral("10 END"));
  ui.answers = {MsgResult::No};
  form->Exit1->trigger();
  EXPECT_FALSE(form->isVisible());
}

TEST_F(MainWindowTest, ShiftReturnStartsARealLine) {
  form->AUTO1->trigger(); // the editor's own line break
  type(QStringLiteral("10 A"));
  QTest::keyClick(form->RichEdit1, Qt::Key_Return, Qt::ShiftModifier);
  type(QStringLiteral("20 B"));
  EXPECT_EQ(editor().rawText(), QStringLiteral("10 A\u202920 B"));
  EXPECT_EQ(editor().charAt(4), QChar(u'\n'));
}

TEST_F(MainWindowTest, SelectionAndTextAgreeOnPositions) {
  editor().setText(QStringLiteral("10 \u3042\n20 X"));
  editor().setSelStart(4);
  editor().setSelLength(3);
  EXPECT_EQ(editor().selText(), QStringLiteral("\n20"));
  editor().setSelText(QStringLiteral("Y"));
  EXPECT_EQ(text(), QStringLiteral("10 \u3042Y X"));
  EXPECT_EQ(editor().selStart(), 5);
  EXPECT_EQ(editor().selLength(), 0);
  EXPECT_EQ(editor().charAt(3), QChar(u'\u3042'));
  EXPECT_EQ(editor().charAt(100), QChar());
}

class StartUpTest : public ::testing::Test {
protected:
  testing::ScriptedUserInterface ui;
  testing::TempDir dir;
};

TEST_F(StartUpTest, TheFirstArgumentOpensTheRestAreIgnored) {
  const QString a = dir.write(QStringLiteral("a.txt"), "10 CLS\r\n");
  const auto form =
      createMainWindow(ui, {a, dir.write(QStringLiteral("b.txt"), "B")}, testing::testPaths(dir));
  ASSERT_TRUE(form);
  EXPECT_EQ(form->FileName, a);
  EXPECT_EQ(form->RichEdit1->toPlainText(), QStringLiteral("10 CLS\n"));
  EXPECT_EQ(form->windowTitle(), QStringLiteral("a.txt - kavrin"));
  EXPECT_FALSE(form->RichEdit1->modified());
}

TEST_F(StartUpTest, AMissingFileEndsStartUpWithoutAWindow) {
  const auto form = createMainWindow(ui, {dir.path(QStringLiteral("none.txt"))}, testing::testPaths(dir));
  EXPECT_FALSE(form);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("none.txt")));
  EXPECT_EQ(ui.messages[0].caption, QStringLiteral("kavrin"));
  for (QWidget *w : QApplication::topLevelWidgets()) {
    EXPECT_FALSE(w->isVisible());
  }
}

TEST_F(StartUpTest, ALongPathIsNeverCut) {
  QString deep = dir.path(QString());
  for (int i = 0; i < 12; ++i) {
    deep += QStringLiteral("/%1").arg(QString(30, QChar(u'a' + i)));
  }
  ASSERT_TRUE(QDir().mkpath(deep));
  const QString path = deep + QStringLiteral("/長い名前のプログラム.txt");
  ASSERT_GT(path.toUtf8().size(), 260);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("10 END");
  file.close();
  const auto form = createMainWindow(ui, {path}, testing::testPaths(dir));
  ASSERT_TRUE(form);
  EXPECT_EQ(form->FileName, path);
}

} // namespace
} // namespace kavrin
