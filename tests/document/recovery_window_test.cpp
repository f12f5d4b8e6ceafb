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
  RecoveryTool &tool() { return *form->findChild<RecoveryTool *>(); }
  // A copy as an editor killed `secondsAgo` left it.
  QString leave(const QString &fileName, const QString &text, int secondsAgo) {
    RecoveryStore store(folder());
    const QDateTime at = QDateTime::currentDateTime().addSecs(-secondsAgo);
    EXPECT_TRUE(store.write({fileName, text, at}));
    QFile file(store.ownFile());
    EXPECT_TRUE(file.open(QIODevice::Append));
    file.setFileTime(at, QFileDevice::FileModificationTime);
    return store.ownFile();
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
  ASSERT_EQ(ui.messages.size(), 3U);
  EXPECT_TRUE(offered(ui.messages[0], "run.txt"));
  EXPECT_TRUE(offered(ui.messages[1], "一度も保存されていない"));
  EXPECT_EQ(ui.messages[2].text, kSaveQuestion);
  EXPECT_EQ(text(), "10 NEW\n20 \uE0FF");
  EXPECT_TRUE(editor().modified() && form->FileName.isEmpty());
  EXPECT_FALSE(QFile::exists(running) || QFile::exists(newer));
  EXPECT_TRUE(QFile::exists(older) && QFile::exists(alive.ownFile()));
  EXPECT_TRUE(QFile::exists(tool().store().ownFile())); // the text is safe again at once
  ui.messages.clear();
  form.reset(); // a normal end leaves nothing
  EXPECT_EQ(QDir(folder()).entryList({"*.recovery"}, QDir::Files).size(), 2);
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
  tool().writeNow();
  const QString copy = tool().store().ownFile();
  ASSERT_TRUE(QFile::exists(copy));
  QFile file(copy);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const std::optional<RecoveryCopy> kept = decodeRecoveryCopy(file.readAll());
  EXPECT_TRUE(kept && kept->text == "10 PRINT" && kept->fileName.isEmpty());
  ui.saveAnswers = {dir.path("p.txt")};
  form->SaveAs1->trigger();
  EXPECT_FALSE(QFile::exists(copy));
  type("0");
  tool().writeNow();
  ASSERT_TRUE(QFile::exists(copy));
  ui.answers = {MsgResult::No};
  form->New1->trigger();
  EXPECT_EQ(ui.messageTexts(), QStringList({kSaveQuestion}));
  EXPECT_FALSE(editor().modified());
  EXPECT_FALSE(QFile::exists(copy));
}

} // namespace
} // namespace kavrin::testing
