#include "logic/recovery.h"
#include "support/temp_dir.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>
#include <utility>
#include <vector>

namespace kavrin {
namespace {

using testing::TempDir;

// Keys every `gap` ms for a minute, the work run when due, as its timer
// runs it: after a pause, but never later than the longest wait.
TEST(PauseSchedule, TypingOnAndOnDelaysTheWorkOnlyUpToTheLongestWait) {
  for (const auto &[gap, expected] :
       {std::pair<qint64, std::vector<qint64>>{700, {30000, 60100}}, {25000, {2000, 27000, 52000}}}) {
    PauseSchedule schedule;
    std::vector<qint64> runs;
    for (qint64 key = 0, due = -1; key < 60000 + gap; key += gap) {
      if (due >= 0 && due <= key) {
        runs.push_back(std::exchange(due, -1));
        schedule.done();
      }
      if (key < 60000) {
        schedule.changed(key);
        due = key + schedule.dueIn(key);
      }
    }
    EXPECT_EQ(runs, expected) << gap;
  }
}

TEST(RecoveryCopy, KeepsEveryUnitAndTheStampAndTellsADamagedOrNewerCopy) {
  const FileStamp stamp{true, 12, QDateTime::currentDateTime().addSecs(-9), "\x01hash",
                        QDateTime::currentDateTime()};
  // Without a stamp or a form, written as earlier versions read it.
  const std::tuple<std::optional<FileStamp>, std::optional<bool>, const char *> cases[] = {
      {stamp, std::nullopt, "00000002"}, {std::nullopt, std::nullopt, "00000001"}, {stamp, true, "00000003"},
      {std::nullopt, false, "00000003"}, {std::nullopt, true, "00000003"},
  };
  for (const auto &[kept, form, version] : cases) {
    SCOPED_TRACE(version);
    const RecoveryCopy copy{QStringLiteral("/home/u/ゲーム.txt"),
                            QStringLiteral("10 PRINT \"\uE0FF\"\n") + QChar(0xD800) +
                                QStringLiteral(" \u00E9\n") + QChar(0),
                            QDateTime::currentDateTime(), kept, form};
    const QByteArray bytes = encodeRecoveryCopy(copy);
    EXPECT_EQ(bytes.sliced(16, 4), QByteArray::fromHex(version));
    const std::optional<RecoveryCopy> back = decodeRecoveryCopy(bytes);
    ASSERT_TRUE(back); // every field read back, the text's units and the stamp's too
    EXPECT_TRUE(back->text == copy.text && back->stamp.has_value() == kept.has_value());
    EXPECT_EQ(back->sourceForm, form);
    EXPECT_EQ(encodeRecoveryCopy(*back), bytes);
    QByteArray flipped = bytes;
    flipped[flipped.size() / 2] = static_cast<char>(flipped[flipped.size() / 2] ^ 1);
    QByteArray newer = bytes.first(16); // the header, then version 4 and a right checksum
    QDataStream(&newer, QIODevice::Append) << quint32(4);
    newer += bytes.sliced(20, bytes.size() - 20 - 32);
    newer += QCryptographicHash::hash(newer, QCryptographicHash::Sha256);
    for (const QByteArray &bad : {bytes.first(bytes.size() - 1), flipped, newer, QByteArray()}) {
      EXPECT_FALSE(decodeRecoveryCopy(bad));
    }
  }
}

TEST(RecoveryCopy, ReadsACopyAnEarlierVersionWrote) {
  const std::optional<RecoveryCopy> copy = decodeRecoveryCopy(QByteArray::fromHex(
      "4b415652494e205245434f564552590a0000000100000010002f0075002f0061002e0062006100730000018bcfe56800"
      "0000000a0031003000200041000a182e07860f3548fa9adcdadb16ef08e49cbd98a4369d1a8c339a3124d4b48231"));
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->fileName, QStringLiteral("/u/a.bas"));
  EXPECT_EQ(copy->text, QStringLiteral("10 A\n"));
  EXPECT_EQ(copy->written.toMSecsSinceEpoch(), 1700000000000);
  EXPECT_FALSE(copy->stamp);
}

TEST(RecoveryStore, OffersOnlyTheCopiesOfEditorsThatStopped) {
  TempDir dir;
  const QString folder = dir.path("state/kavrin");
  RecoveryStore running(folder);
  ASSERT_TRUE(running.write({{}, "running", QDateTime::currentDateTime()}));
  {
    RecoveryStore older(folder);
    RecoveryStore newer(folder);
    ASSERT_TRUE(older.write({"a.txt", "older", QDateTime::currentDateTime()}));
    ASSERT_TRUE(newer.write({"b.txt", "newer", QDateTime::currentDateTime()}));
    EXPECT_NE(older.ownFile(), newer.ownFile());
    QFile file(older.ownFile());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime);
  } // their locks go as a killed editor's do; the copies stay
  std::vector<LeftCopy> left = running.leftBehind();
  ASSERT_EQ(left.size(), 2U);
  EXPECT_EQ(left[0].copy->text, "newer");
  EXPECT_EQ(left[1].copy->text, "older");
  const QString newer = left[0].file;
  RecoveryStore::discard(newer);
  EXPECT_FALSE(QFile::exists(newer) || QFile::exists(QString(newer).replace(".recovery", ".lock")));
  dir.write("state/kavrin/kavrin-1-0.recovery", "KAVRIN RECOVERY\ncut");
  const QString orphan = dir.write("state/kavrin/kavrin-2-0.lock", ""); // stopped with nothing unsaved
  left = running.leftBehind();
  EXPECT_FALSE(QFile::exists(orphan));
  ASSERT_EQ(left.size(), 2U);
  EXPECT_TRUE(!left[0].copy && left[1].copy->text == "older");
  running.remove();
  EXPECT_FALSE(QFile::exists(running.ownFile()));
  {
    RecoveryStore closing(folder); // a normal end leaves no lock either
    ASSERT_TRUE(closing.write({{}, "x", QDateTime::currentDateTime()}));
    closing.remove();
  }
  EXPECT_EQ(QDir(folder).entryList({"kavrin-*"}, QDir::Files).size(), 3); // running's lock, older, cut
}

#ifndef Q_OS_WIN
TEST(RecoveryStore, UnsavedTextIsTheUsersAlone) {
  TempDir dir;
  const QString folder = dir.path("kavrin");
  QDir().mkpath(folder); // as an earlier version left it: 0755
  RecoveryStore store(folder);
  ASSERT_TRUE(store.write({{}, "secret", QDateTime::currentDateTime()}));
  namespace fs = std::filesystem;
  EXPECT_EQ(fs::status(folder.toStdString()).permissions(), fs::perms::owner_all);
  EXPECT_EQ(fs::status(store.ownFile().toStdString()).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST(RecoveryStore, LivesInTheUsersStateFolder) {
  const QByteArray saved = qgetenv("XDG_STATE_HOME");
  const struct {
    const char *xdg;
    QString folder;
  } cases[] = {
      {"/var/x", "/var/x/kavrin"},
      {"relative", QDir::homePath() + "/.local/state/kavrin"},
      {"", QDir::homePath() + "/.local/state/kavrin"},
  };
  for (const auto &c : cases) {
    qputenv("XDG_STATE_HOME", c.xdg);
    EXPECT_EQ(defaultRecoveryFolder(), c.folder);
  }
  qputenv("XDG_STATE_HOME", saved);
}
#else
// Where the README sends Windows users.
TEST(RecoveryStore, LivesInTheUsersLocalApplicationData) {
  const QString name = QCoreApplication::applicationName();
  QCoreApplication::setApplicationName("kavrin");
  EXPECT_EQ(QDir::toNativeSeparators(defaultRecoveryFolder()),
            qEnvironmentVariable("LOCALAPPDATA") + "\\kavrin\\recovery");
  QCoreApplication::setApplicationName(name);
}
#endif

} // namespace
} // namespace kavrin
