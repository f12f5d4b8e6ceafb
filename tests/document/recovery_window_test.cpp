#include "support/file_size_limit.h"
#include "support/window_fixture.h"

#include "document/recovery_tool.h"

#include <QAction>
#include <QDir>

namespace kavrin::testing {
namespace {

const QString kOffer = QStringLiteral("保存されずに終わった文書があります。");

class RecoveryTest : public WindowTest {
protected:
  void SetUp() override {} // each test leaves copies behind first

  QString folder() const { return dir.path("state"); }
  RecoveryTool &tool() { return *window->findChild<RecoveryTool *>(); }
  // A copy as an editor killed `secondsAgo` left it.
  QString leave(const QString &fileName, const QString &text, int secondsAgo,
                const std::optional<FileStamp> &stamp = std::nullopt) {
    RecoveryStore store(folder());
    const QDateTime at = QDateTime::currentDateTime().addSecs(-secondsAgo);
    EXPECT_TRUE(store.write({fileName, text, at, stamp}));
    QFile file(store.ownFile());
    EXPECT_TRUE(file.open(QIODevice::Append));
    file.setFileTime(at, QFileDevice::FileModificationTime);
    return store.ownFile();
  }
  QStringList copies() const { return QDir(folder()).entryList({"*.recovery"}, QDir::Files); }
  // The copy this window writes now, read back.
  std::optional<RecoveryCopy> ownCopy() {
    tool().writeNow();
    EXPECT_EQ(tool().finishWriting(), QString());
    QFile file(tool().ownFile());
    return file.open(QIODevice::ReadOnly) ? decodeRecoveryCopy(file.readAll()) : std::nullopt;
  }
  // Closes as the user does, answering the question about unsaved text.
  void closeAnswering(MsgResult answer) {
    ui.answers.push_back(answer);
    EXPECT_TRUE(window->close());
    window.reset();
  }
  static bool offered(const ScriptedUserInterface::Message &m, const QString &what) {
    return m.text.startsWith(kOffer) && m.text.contains(what);
  }
};

TEST_F(RecoveryTest, TheNewestCopyIsOfferedFirstAndYesOpensItBeforeTheCommandLineFile) {
  const QString older = leave(dir.path("old.txt"), "10 OLD", 120);
  const QString newer = leave(QString(), "10 NEW\n20 \uE0FF", 60);
  const QString running = leave("run.txt", "RUN", 0);
  RecoveryStore alive(folder()); // an editor still running keeps its copy to itself
  ASSERT_TRUE(alive.write({"live.txt", "LIVE", QDateTime::currentDateTime()}));
  ui.answers = {MsgResult::No, MsgResult::Yes, MsgResult::Cancel};
  start({dir.write("arg.txt", "10 ARG")});
  ASSERT_EQ(ui.messages.size(), 4U);
  EXPECT_TRUE(offered(ui.messages[0], "run.txt"));
  EXPECT_TRUE(offered(ui.messages[1], "一度も保存されていない"));
  EXPECT_EQ(ui.messages[2].text,
            "ほかにも保存されずに終わった文書が 1 件あります。次の起動時にお知らせします。");
  EXPECT_EQ(ui.messages[3].text, kSaveQuestion);
  EXPECT_EQ(text(), "10 NEW\n20 \uE0FF");
  EXPECT_TRUE(editor().modified() && window->session().fileName().isEmpty());
  EXPECT_FALSE(QFile::exists(running) || QFile::exists(newer));
  EXPECT_TRUE(QFile::exists(older) && QFile::exists(alive.ownFile()));
  EXPECT_TRUE(QFile::exists(tool().ownFile())); // the text is safe again at once
  closeAnswering(MsgResult::No);                // the user's choice: nothing is left of it
  EXPECT_EQ(copies().size(), 2);
}

TEST_F(RecoveryTest, TheRecoveredTextOfTheCommandLineFileStaysWithoutAQuestion) {
  const QString file = dir.write("arg.txt", "10 ARG");
  leave(file, "10 MINE", 60);
  ui.answers = {MsgResult::Yes};
  start({file});
  ASSERT_EQ(ui.messages.size(), 1U); // the offer only
  EXPECT_EQ(text(), "10 MINE");
  EXPECT_EQ(window->session().fileName(), file);
}

TEST_F(RecoveryTest, AFileChangedSinceItsEditorLastReadItIsReplacedOnlyAfterTheQuestion) {
  const struct {
    bool stamped;         // an earlier version's copy has no stamp
    const char *appended; // by another program, after the editor was killed
    MsgResult answer;     // Ok: no question
    const char *after;
  } cases[] = {
      {true, "20 THEIRS\r\n", MsgResult::No, "10 MINE\r\n20 THEIRS\r\n"},
      {true, "20 THEIRS\r\n", MsgResult::Yes, "10 MINEX"},
      {false, "20 THEIRS\r\n", MsgResult::Ok, "10 MINEX"},
      {true, "", MsgResult::Ok, "10 MINEX"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(&c - cases); // the row
    const QString path = dir.write("p.txt", "10 MINE\r\n");
    leave(path, "10 MINEX", 60, c.stamped ? std::optional(stampOfFile(path)) : std::nullopt);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append) && file.write(c.appended) >= 0);
    file.close();
    ui.messages.clear();
    ui.answers = {MsgResult::Yes};
    start();
    EXPECT_EQ(ui.messages.at(0).text.contains("ほかのプログラムによって変更されています"),
              c.stamped && *c.appended != '\0');
    if (c.answer != MsgResult::Ok) {
      ui.answers = {c.answer};
    }
    window->command("save")->trigger();
    EXPECT_EQ(ui.messages.size(), c.answer == MsgResult::Ok ? 1U : 2U);
    EXPECT_EQ(dir.read("p.txt"), c.after);
    editor().modified() ? closeAnswering(MsgResult::No) : window.reset();
  }
}

TEST_F(RecoveryTest, EscOnTheOfferKeepsTheCopyForTheNextStart) {
  const QString copy = leave("a.txt", "10 A", 60);
  ui.answers = {MsgResult::Cancel};
  start();
  EXPECT_TRUE(QFile::exists(copy) && text().isEmpty());
  window.reset();
  ui.answers = {MsgResult::Yes};
  start();
  EXPECT_EQ(text(), "10 A");
  EXPECT_FALSE(QFile::exists(copy));
}

TEST_F(RecoveryTest, AnUnreadableCopyIsNamedAndLeftAlone) {
  QDir().mkpath(folder());
  const QString damaged = dir.write("state/kavrin-1-0.recovery", "KAVRIN RECOVERY\ncut short");
  leave("a.txt", "10 A", 120); // offered after it all the same
  ui.answers = {MsgResult::No};
  start();
  ASSERT_EQ(ui.messages.size(), 2U);
  EXPECT_TRUE(offered(ui.messages[1], "a.txt"));
  EXPECT_TRUE(ui.messages[0].text.contains("読めませんでした") && ui.messages[0].text.contains("kavrin-1-0"));
  EXPECT_TRUE(QFile::exists(damaged));
}

TEST_F(RecoveryTest, TheCopyFollowsUnsavedChangesOnly) {
  start();
  type("10 PRINT");
  const std::optional<RecoveryCopy> kept = ownCopy();
  EXPECT_TRUE(kept && kept->text == "10 PRINT" && kept->fileName.isEmpty());
  const QString copy = tool().ownFile();
  ui.saveAnswers = {dir.path("p.txt")};
  window->command("saveAs")->trigger();
  tool().finishWriting();
  EXPECT_FALSE(QFile::exists(copy));
  type("0");
  std::optional<RecoveryCopy> named = ownCopy();
  ASSERT_TRUE(named && QFile::exists(copy));
  EXPECT_FALSE(named->sourceForm); // the name says it
  window->command("toLabelForm")->trigger();
  named = ownCopy();
  ASSERT_TRUE(named);
  EXPECT_EQ(named->sourceForm, true);
  ui.answers = {MsgResult::No};
  window->command("new")->trigger();
  tool().finishWriting();
  EXPECT_EQ(ui.messageTexts(), QStringList({kSaveQuestion}));
  EXPECT_FALSE(editor().modified() || QFile::exists(copy));
}

TEST_F(RecoveryTest, ACopyThatCannotBeWrittenKeepsTheLastGoodOne) {
  KAVRIN_NEEDS_FILE_SIZE_LIMIT();
  const QString old = leave("a.txt", "10 A\n", 60);
  {
    const FileSizeLimit full(16); // no copy fits
    ui.answers = {MsgResult::Yes};
    start();
  }
  EXPECT_TRUE(ui.messageTexts().last().startsWith("復元した文書の復元用コピーを書き込めませんでした。"));
  EXPECT_TRUE(QFile::exists(old)); // the only copy of the text stays
  closeAnswering(MsgResult::No);
  ui.answers = {MsgResult::Yes}; // so it is offered again
  start();
  EXPECT_FALSE(QFile::exists(old)); // now held in this editor's copy
  editor().moveCursor(QTextCursor::End);
  type("20 B");
  const std::optional<RecoveryCopy> good = ownCopy();
  const auto toldOfFailures = [this] {
    settle();
    return ui.messageTexts().filter("変更の復元用コピーを書き込めません。").size();
  };
  {
    const FileSizeLimit full(16);
    for (const char *more : {"30 C", "40 D"}) { // told once, not at every copy
      type(more);
      tool().writeNow();
      EXPECT_FALSE(tool().finishWriting().isEmpty());
      EXPECT_EQ(toldOfFailures(), 1);
    }
  }
  QFile file(tool().ownFile());
  ASSERT_TRUE(good && file.open(QIODevice::ReadOnly));
  EXPECT_EQ(decodeRecoveryCopy(file.readAll())->text, "10 A\n20 B");
  EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden).size(), 2); // the copy and its lock
}

TEST_F(RecoveryTest, AnErrorAfterTheOfferEndsOnlyThatStep) {
  const struct {
    MsgResult saveFirst;
    const char *saveAs;
    const char *argument;
  } cases[] = {
      {MsgResult::Yes, "no/such/folder/p.txt", "arg.txt"}, // the save fails
      {MsgResult::No, "", "missing.txt"},                  // the load fails
  };
  dir.write("arg.txt", "10 ARG");
  for (const auto &c : cases) {
    SCOPED_TRACE(c.argument);
    leave(QString(), "10 SAVED NOWHERE", 60);
    ui.answers = {MsgResult::Yes, c.saveFirst};
    if (*c.saveAs != '\0') {
      ui.saveAnswers = {dir.path(c.saveAs)};
    }
    ui.messages.clear();
    start({dir.path(c.argument)});
    EXPECT_TRUE(ui.messageTexts().last().contains(c.saveAs[0] ? "保存できません" : "開けません"));
    EXPECT_EQ(text(), "10 SAVED NOWHERE");
    window.reset(); // ended with no decision about the text: its copy stays
    EXPECT_EQ(copies().size(), 1);
    for (const QString &left : copies()) {
      RecoveryStore::discard(QDir(folder()).filePath(left));
    }
  }
}

} // namespace
} // namespace kavrin::testing
