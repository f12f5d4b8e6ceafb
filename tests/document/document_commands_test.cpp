#include "support/file_size_limit.h"
#include "support/window_fixture.h"

#include "document/document_commands.h"

#include "document/recovery_tool.h"
#include "widgets/status_bar.h"

#include <QAction>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QWindow>

#include <cerrno>
#include <cstring>

namespace kavrin::testing {
namespace {

class DocumentTest : public WindowTest {
protected:
  // Drops files as a file manager does: as URLs, the first also as text.
  void drop(QWidget *target, const QList<QUrl> &urls) {
    QMimeData mime;
    mime.setUrls(urls);
    mime.setText(urls.first().toString());
    QDragEnterEvent enter({5, 5}, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &dropped);
    settle();
  }
};

TEST_F(DocumentTest, NewAsksAboutChangesAndFollowsTheAnswer) {
  type("10 PRINT");
  ui.answers = {MsgResult::Cancel, MsgResult::Yes, MsgResult::Yes};
  ui.saveAnswers = {std::nullopt, dir.path("prog.txt")};
  window->command("new")->trigger();
  window->command("new")->trigger(); // Yes, then the save dialog is cancelled
  EXPECT_EQ(text(), "10 PRINT");
  EXPECT_EQ(window->windowTitle(), "kavrin");
  EXPECT_TRUE(editor().modified());
  EXPECT_EQ(ui.messageTexts(), QStringList({kSaveQuestion, kSaveQuestion}));
  QStringList titles;
  QObject::connect(window.get(), &QWidget::windowTitleChanged,
                   [&](const QString &title) { titles << title; });
  window->command("new")->trigger(); // Yes, saved
  EXPECT_EQ(dir.read("prog.txt"), "10 PRINT");
  EXPECT_EQ(window->feature<DocumentCommands>()->recentFiles().first(), dir.path("prog.txt"));
  EXPECT_EQ(text(), "");
  EXPECT_FALSE(editor().modified());
  EXPECT_EQ(titles, QStringList({"prog.txt - kavrin", "kavrin"})); // named by the save, then new
}

TEST_F(DocumentTest, OpenLoadsShiftJisAndNamesTheWindow) {
#ifdef Q_OS_WIN
  const QString name = "a[あ] b.txt"; // no "*" in a Windows name, so no "[*]" in a title
#else
  const QString name = "a[*].txt"; // Qt would read "[*]" as the modified mark
#endif
  ui.openAnswers = {dir.write(name, "10 PRINT \"\x82\xa0\"\r\n")};
  window->command("open")->trigger();
  EXPECT_EQ(text(), "10 PRINT \"あ\"\n");
  EXPECT_FALSE(editor().modified());
  EXPECT_EQ(window->windowHandle()->title(), name + " - kavrin");
  EXPECT_EQ(window->feature<DocumentCommands>()->recentFiles().first(), dir.path(name));
}

TEST_F(DocumentTest, SaveKeepsTheBytesItDidNotEditAndSaveAsWritesTheFileChosen) {
  const QByteArray original("10 PRINT \"\x82\xb1\x82\xf1\"\r\n20 REM \x80\xff\x87\x90\xfd\x82\r\n");
  const QString odd = dir.write("odd.txt", original);
  window->feature<DocumentCommands>()->load(odd);
  editor().moveCursor(QTextCursor::End);
  type("3");
  window->command("save")->trigger();
  EXPECT_EQ(dir.read("odd.txt"), original + "3");
  EXPECT_FALSE(editor().modified());
  const QString other = dir.write("other", "old");
  ui.saveAnswers = {other, std::nullopt};
  window->command("saveAs")->trigger();
  window->command("saveAs")->trigger();
  EXPECT_EQ(ui.saveCalls.at(1).fileName, other); // the name last chosen
  EXPECT_EQ(dir.read("other"), original + "3");  // no extension added
  EXPECT_EQ(window->windowTitle(), "other - kavrin");
  EXPECT_EQ(window->feature<DocumentCommands>()->recentFiles().mid(0, 2), (QStringList{other, odd}));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DocumentTest, AFailedSaveKeepsTheOldFileAndTheChanges) {
  // Larger than the room left on a full disk, or not; on Windows, where no
  // test can fill the disk, the file held open by another program.
  const struct {
    int typed;
    rlim_t room;
  } cases[] = {{20000, 1024}, {10000, 4096}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.typed);
    QFile old(dir.write("p.txt", "10 REM old\r\n"));
    // Written long ago: the save knows it unchanged without reading it.
    ASSERT_TRUE(old.open(QIODevice::Append) &&
                old.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
    old.close();
    window->feature<DocumentCommands>()->load(old.fileName());
    editor().setSelText(QString(c.typed, u'x'));
    RecoveryTool &recovery = *window->findChild<RecoveryTool *>();
    recovery.writeNow();
    ASSERT_EQ(recovery.finishWriting(), QString());
    ui.messages.clear();
    {
      const FileSizeLimit limit(c.room);
      const HeldOpen held(dir.path("p.txt"));
      window->command("save")->trigger();
    }
    EXPECT_EQ(ui.messageTexts().size(), 1);
    EXPECT_TRUE(ui.messageTexts().value(0).contains(QDir::toNativeSeparators(dir.path("p.txt"))));
#ifndef _WIN32 // the reason the system gave
    EXPECT_TRUE(ui.messageTexts().value(0).contains(QString::fromLocal8Bit(std::strerror(EFBIG))));
#endif
    EXPECT_TRUE(editor().modified());
    EXPECT_EQ(dir.read("p.txt"), "10 REM old\r\n");
    EXPECT_EQ(QDir(dir.root()).entryList(QDir::Files | QDir::Hidden), QStringList({"kavrin.ini", "p.txt"}));
    recovery.finishWriting();
    EXPECT_TRUE(QFile::exists(recovery.ownFile())); // the changes are still safe there
  }
  ui.saveAnswers = {dir.path("no/such/folder/q.txt")}; // a failed Save As, then Save
  window->command("saveAs")->trigger();
  window->command("save")->trigger();
  EXPECT_EQ(ui.messageTexts().size(), 3); // the two failures only: no question about q.txt
}

TEST_F(DocumentTest, AFileChangedOnDiskIsNotReplacedWithoutAWord) {
  const struct {
    const char *onDisk; // nullptr: removed
    bool touchOnly;
    MsgResult answer; // Ok: no question
    const char *after;
  } cases[] = {
      {"10 THEIRS\r\n", false, MsgResult::No, "10 THEIRS\r\n"},
      {"10 THEIRS\r\n", false, MsgResult::Yes, "10 MINEX"},
      {nullptr, false, MsgResult::No, nullptr},
      {nullptr, false, MsgResult::Yes, "10 MINEX"},
      {"10 THEM", false, MsgResult::No, "10 THEM"}, // the same size
      {"10 MINE", true, MsgResult::Ok, "10 MINEX"},
  };
  const auto written = [this](const char *text, int seconds) {
    QFile file(dir.write("p.txt", text));
    return file.open(QIODevice::Append) &&
           file.setFileTime(QDateTime::currentDateTime().addSecs(seconds), QFileDevice::FileModificationTime);
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.after == nullptr ? "removed" : c.after);
    ASSERT_TRUE(written("10 MINE", -60)); // older than any clock tick
    window->feature<DocumentCommands>()->load(dir.path("p.txt"));
    editor().moveCursor(QTextCursor::End);
    type("X");
    QFile::remove(dir.path("p.txt"));
    if (c.onDisk != nullptr) {
      ASSERT_TRUE(written(c.onDisk, 5));
    }
    ui.messages.clear();
    if (c.answer != MsgResult::Ok) {
      ui.answers = {c.answer};
    }
    window->command("save")->trigger();
    EXPECT_EQ(ui.messages.size(), c.answer == MsgResult::Ok ? 0U : 1U);
    EXPECT_EQ(QFile::exists(dir.path("p.txt")), c.after != nullptr);
    if (c.after != nullptr) {
      EXPECT_EQ(dir.read("p.txt"), c.after);
    }
    EXPECT_EQ(editor().modified(), c.answer == MsgResult::No);
  }
  window->command("save")->trigger(); // what was saved here is replaced without a word
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DocumentTest, TextShiftJisCannotHoldStopsTheSaveWithTheFirstCharacterSelected) {
  const struct {
    const char16_t *text, *first, *code;
    int count;
    const char16_t *fix = u""; // a character the program check can fix
  } cases[] = {{u"10 PRINT \"café😀\"", u"é", u"00E9", 2},
               {u"A😀", u"😀", u"1F600", 1},
               {u"10 A$=\"‾\"+\"¥\"", u"‾", u"203E", 2,
                u"\n特別 > プログラムの検査 で [¥‾] の行を選び、すべて修正 (Ctrl+Shift+.) を使うと、"
                u"¥ を 0x5C の文字に、‾ を 0x7E の文字に直せます。実機ではそれぞれ ¥ と ‾ に見えます。"},
               {u"10 A$=\"¥\"", u"¥", u"00A5", 1}}; // the rule turned off: no fix offered
  for (const auto &c : cases) {
    SCOPED_TRACE(c.count);
    if (c.first == std::u16string_view(u"¥")) {
      basic::CheckOptions options;
      options.set(basic::checkRule("YenOverline"), false);
      setPreference(&Preferences::check, options);
    }
    editor().setText(QString::fromUtf16(c.text));
    ui.messages.clear();
    window->command("save")->trigger();
    EXPECT_EQ(ui.messageTexts(),
              QStringList{QStringLiteral("Shift-JIS で保存できない文字が %1 個あります。\n"
                                         "最初の文字「%2」(U+%3) を選択しました。"
                                         "この文字を書き換えてから保存してください。")
                              .arg(c.count)
                              .arg(QString::fromUtf16(c.first), QString::fromUtf16(c.code)) +
                          QString::fromUtf16(c.fix)});
    EXPECT_EQ(editor().selText(), QString::fromUtf16(c.first));
  }
  EXPECT_TRUE(ui.saveCalls.empty());
}

TEST_F(DocumentTest, ALoneByteThatWouldJoinItsNeighbourStopsTheSaveWithItSelected) {
  const QByteArray original("10 REM\r\n20 REM \x81 A\r\n");
  window->feature<DocumentCommands>()->load(dir.write("p.txt", original));
  const int lead = static_cast<int>(text().indexOf(QChar(0xF781)));
  editor().setSelStart(lead + 1);
  editor().setSelLength(1);
  editor().setSelText({}); // 81 41 would read back as 、
  window->command("save")->trigger();
  EXPECT_EQ(ui.messageTexts(),
            QStringList{QStringLiteral("保存すると、次に開いたときに別の文字に変わってしまうバイトが "
                                       "2 行目にあります。\nそのバイトの記号を選択しました。"
                                       "書き換えるか削除してから保存してください。")});
  EXPECT_EQ(editor().selStart(), lead);
  EXPECT_EQ(editor().selLength(), 1);
  EXPECT_EQ(dir.read("p.txt"), original);
  editor().setSelStart(0);
  editor().setSelText(QStringLiteral("é")); // the first problem in the text is named
  window->command("save")->trigger();
  EXPECT_TRUE(ui.messageTexts().last().startsWith(QStringLiteral("Shift-JIS で保存できない")));
  // The same byte first in the text.
  window->feature<DocumentCommands>()->load(dir.write("q.txt", "\x81\r\nA\r\n"));
  editor().setSelStart(1);
  editor().setSelLength(1);
  editor().setSelText({});
  window->command("save")->trigger();
  EXPECT_TRUE(ui.messageTexts().last().contains(QStringLiteral("1 行目")));
  EXPECT_TRUE(editor().selStart() == 0 && editor().selLength() == 1);
  EXPECT_EQ(dir.read("q.txt"), "\x81\r\nA\r\n");
}

TEST_F(DocumentTest, RecentEntriesReopenAfterTheQuestion) {
  EXPECT_FALSE(window->command("recent1")->isEnabled());
  const QString a = dir.write("a.txt", "AAA");
  window->feature<DocumentCommands>()->load(a);
  window->feature<DocumentCommands>()->load(dir.write("b.txt", "BBB"));
  EXPECT_EQ(window->command("recent2")->text(), "&2 a.txt");
  EXPECT_FALSE(window->command("recent3")->isVisible());
  type("!");
  ui.answers = {MsgResult::Cancel, MsgResult::No};
  window->command("recent2")->trigger();
  EXPECT_EQ(text(), "!BBB");
  window->command("recent2")->trigger();
  EXPECT_EQ(text(), "AAA");
  QFile::remove(dir.path("b.txt")); // reported, and stays listed
  window->command("recent2")->trigger();
  EXPECT_EQ(ui.messageTexts().last(), "ファイルが見つかりません");
  EXPECT_EQ(window->feature<DocumentCommands>()->recentFiles().mid(0, 2),
            (QStringList{a, dir.path("b.txt")}));
}

TEST_F(DocumentTest, ADroppedFileOpensAfterTheQuestionOnlyTheFirst) {
  const QUrl one = QUrl::fromLocalFile(dir.write("一つ目.txt", "ONE"));
  const QUrl two = QUrl::fromLocalFile(dir.write("二つ目 です.txt", "TWO"));
  type("typed");
  ui.answers = {MsgResult::Cancel, MsgResult::No};
  drop(editor().viewport(), {one, two});
  EXPECT_EQ(text(), "typed");
  drop(editor().viewport(), {QUrl("https://example.com/x.txt"), one, two});
  EXPECT_EQ(text(), "ONE");
  drop(&window->panels(), {two}); // outside the editor too
  EXPECT_EQ(text(), "TWO");
  EXPECT_EQ(ui.messageTexts(), QStringList({kSaveQuestion, kSaveQuestion}));
}

// The form follows the name; after a conversion a save asks for a name of the new form.
TEST_F(DocumentTest, TheFormFollowsTheNameAndASaveAsksForANameOfIt) {
  const struct {
    const char *step;
    QString path;
    const char *form;
    QString proposed; // by the save dialog, if it shows
  } steps[] = {
      {"load", dir.write("a.BSRC", "PRINT\r\n"), "ソース形式", {}},
      {"load", dir.write("b.bas", "10 GOTO 10\r\n"), "行番号形式", {}},
      {"toLabelForm", dir.path("b.bsrc"), "ソース形式", dir.path("b.bsrc")},
      {"save", {}, "ソース形式", {}},
      {"toNumberedForm", dir.path("b.bas"), "行番号形式", dir.path("b.bas")},
      {"new", {}, "行番号形式", {}},
      {"saveAs", dir.path("c.bsrc"), "ソース形式", {}},
      // A recovered copy of a converted d.bas comes back in source form.
      {"restore", dir.path("d.bsrc"), "ソース形式", dir.path("d.bsrc")},
  };
  for (const auto &step : steps) {
    SCOPED_TRACE(step.step);
    const size_t asked = ui.saveCalls.size();
    const bool saveAs = QByteArrayView(step.step) == "saveAs";
    if (!step.proposed.isEmpty() || saveAs) {
      ui.saveAnswers.push_back(step.path);
    }
    if (QByteArrayView(step.step) == "load") {
      window->feature<DocumentCommands>()->load(step.path);
    } else if (QByteArrayView(step.step) == "restore") {
      window->session().restore({dir.path("d.bas"), "*A\nGOTO *A", QDateTime::currentDateTime(), {}, true});
    } else {
      window->command(step.step)->trigger();
    }
    if (!step.proposed.isEmpty()) {
      window->command("save")->trigger();
    }
    EXPECT_EQ(window->panels().formText(), step.form);
    if (!step.proposed.isEmpty()) {
      ASSERT_EQ(ui.saveCalls.size(), asked + 1);
      EXPECT_EQ(ui.saveCalls.back().fileName, step.proposed);
      EXPECT_EQ(ui.saveCalls.back().defaultExt, QFileInfo(step.proposed).suffix());
      EXPECT_EQ(window->session().fileName(), step.path);
    }
  }
  EXPECT_EQ(dir.read("b.bas"), "10 GOTO 10\r\n");
  EXPECT_EQ(dir.read("b.bsrc"), "*L10\r\nGOTO *L10\r\n");
  EXPECT_EQ(dir.read("d.bsrc"), "*A\r\nGOTO *A");
  EXPECT_FALSE(QFile::exists(dir.path("d.bas")));
}

} // namespace
} // namespace kavrin::testing
