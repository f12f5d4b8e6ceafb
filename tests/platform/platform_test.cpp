#include "platform/child_process.h"
#include "platform/colors.h"
#include "platform/error.h"
#include "platform/file_filter.h"
#include "platform/paths.h"
#include "platform/process_lock.h"
#include "platform/text_file.h"
#include "platform/write_stamp.h"
#include "support/temp_dir.h"

#include <QFileInfo>
#include <QSysInfo>

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <gtest/gtest.h>

namespace kavrin {
namespace {

using testing::TempDir;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(ProcessLock, HeldUntilReleasedAndAskingTakesNothing) {
  TempDir dir;
  const QString path = dir.path("a.lock");
  EXPECT_FALSE(ProcessLock::isHeld(path) || QFile::exists(path)); // asking makes no file
  ProcessLock first;
  ASSERT_TRUE(first.acquire(path));
  ProcessLock second;
  EXPECT_TRUE(ProcessLock::isHeld(path));
  EXPECT_FALSE(second.acquire(path));
  first.release();
  EXPECT_FALSE(QFile::exists(path));
  dir.write("a.lock", ""); // left by a program that stopped
  EXPECT_FALSE(ProcessLock::isHeld(path));
  EXPECT_TRUE(second.acquire(path)); // the look above let go of it
}

TEST(ProcessLock, AnotherProgramsLookNeverFailsNorLosesALock) {
  TempDir dir;
  const QString path = dir.path("b.lock");
  std::atomic<bool> done{false};
  std::thread looker([&] { // another editor clearing locks left behind, again and again
    while (!done) {
      ProcessLock::removeIfUnheld(path);
    }
  });
  for (int i = 0; i < 300; ++i) {
    ProcessLock lock;
    ASSERT_TRUE(lock.acquire(path)) << i;
    ASSERT_TRUE(ProcessLock::isHeld(path)) << i;
  }
  done = true;
  looker.join();
  ProcessLock looking; // a look that lasts: the lock is taken once it ends
  ASSERT_TRUE(looking.acquire(path));
  std::thread ending([&looking] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    looking.release();
  });
  ProcessLock lock;
  EXPECT_TRUE(lock.acquire(path));
  ending.join();
}

TEST(FileFilter, MasksListEveryLetterCaseAndEveryFile) {
  EXPECT_EQ(qtNameFilters("テキスト文書 (*.txt)|*.TXT|すべてのファイル (*.*)|*.*|BASIC|*.bas;*.txt"),
            (QStringList{"テキスト文書 (*.txt)", "すべてのファイル (*)", "BASIC (*.bas *.txt)"}));
  EXPECT_TRUE(qtNameFilters("no mask").isEmpty());
}

// Stored system colours are Windows' indexes; each draws in its palette role.
TEST(Colors, SystemColoursFollowThePalette) {
  QPalette palette;
  using enum QPalette::ColorRole;
  // The sixth is the disabled text, the others active.
  const QPalette::ColorRole roles[] = {Button,     Base,  Text, Highlight,   HighlightedText, Text,
                                       ButtonText, Light, Dark, ToolTipText, ToolTipBase,     Window};
  for (int i = 0; i < 12; ++i) {
    palette.setColor(i == 5 ? QPalette::Disabled : QPalette::Active, roles[i], QColor(i + 1, 0, 0));
  }
  // Index, then which of the roles above draws it.
  const int rows[][2] = {{4, 0},  {15, 0}, {5, 1},  {7, 2},  {8, 2},  {13, 3},  {14, 4},
                         {17, 5}, {18, 6}, {20, 7}, {16, 8}, {23, 9}, {24, 10}, {1, 11}};
  for (const auto &[index, role] : rows) {
    SCOPED_TRACE(index);
    EXPECT_EQ(toQColor(0x80000000U | static_cast<TColor>(index), palette), QColor(role + 1, 0, 0));
  }
  EXPECT_EQ(toQColor(0x00FF8000U, palette), QColor(0, 0x80, 0xFF));
  EXPECT_EQ(fromQColor(QColor(0, 0x80, 0xFF)), 0x00FF8000U);
}

TEST(Paths, FileNameRules) {
  const QString path = "/tmp/a\\b:c.txt";
#ifdef Q_OS_WIN
  EXPECT_EQ(nativeFileNamePart(path) + "|" + programFileNamePart("C:x.exe"), "c.txt|C:x.exe");
  EXPECT_EQ(programFileNamePart("C:/a b/txt2bas.exe"), "txt2bas.exe"); // as Qt's dialogs give it
  EXPECT_TRUE(samePath("/a/B.TXT", "/a/b.txt"));
#else
  // "\\" and ":" are part of a Linux name; a converter may be set as a Windows path.
  EXPECT_EQ(nativeFileNamePart(path) + "|" + programFileNamePart(path), "a\\b:c.txt|b:c.txt");
  EXPECT_EQ(programFileNamePart("C:\\a b\\txt2bas.exe"), "txt2bas.exe");
  EXPECT_EQ(samePath("/a/B.TXT", "/a/b.txt"), QSysInfo::productType() == u"macos");
  EXPECT_TRUE(samePath("/a/b.txt", "/a/b.txt"));
#endif
}

#ifdef Q_OS_WIN
// Its twin for Linux, with shell scripts, is in child_process_test.cpp.
TEST(ProgramLookup, ABareNameInTheEditorsOwnFolderFirstThenOnThePath) {
  TempDir own;
  TempDir onPath;
  const QString mine = own.converter("txt2bas.exe");
  onPath.converter("txt2bas.exe");
  const QString there = onPath.converter("csave.exe");
  const QByteArray oldPath = qgetenv("PATH");
  qputenv("PATH", QFile::encodeName(QDir::toNativeSeparators(onPath.root())));
  EXPECT_EQ(QFileInfo(findProgram("txt2bas.exe", own.root() + '/')), QFileInfo(mine));
  EXPECT_EQ(QFileInfo(findProgram("csave.exe", own.root() + '/')), QFileInfo(there));
  qputenv("PATH", oldPath);
}
#endif

// The file's time moved on by a microsecond, set as finely as the system
// keeps it (MinGW's std::filesystem sets whole seconds).
void touchLater(const fs::path &file) {
#ifdef Q_OS_WIN
  HANDLE handle = CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  FILETIME time{};
  GetFileTime(handle, nullptr, nullptr, &time);
  ULARGE_INTEGER ticks{{time.dwLowDateTime, time.dwHighDateTime}};
  ticks.QuadPart += 10;
  time = {ticks.LowPart, ticks.HighPart};
  EXPECT_TRUE(SetFileTime(handle, nullptr, nullptr, &time));
  CloseHandle(handle);
#else
  fs::last_write_time(file, fs::last_write_time(file) + 1us);
#endif
}

TEST(WriteStamp, AWriteIsToldBySizeOrByATimeFinerThanAMillisecond) {
  TempDir dir;
  const QString image = dir.path("prog.cas");
  const std::filesystem::path file = QFileInfo(image).filesystemFilePath();
  const struct {
    const char *change;
    bool before; // a file is there when the stamp is taken
    std::function<void()> act;
    bool written;
  } cases[] = {
      {"created", false, [&] { dir.write("prog.cas", "CAS"); }, true},
      {"left alone", true, [] {}, false},
      {"the same size a microsecond later", true, [&] { touchLater(file); }, true},
      {"another size at the same time", true,
       [&] {
         const auto time = std::filesystem::last_write_time(file);
         dir.write("prog.cas", "CASCAS");
         std::filesystem::last_write_time(file, time);
       },
       true},
      {"removed", true, [&] { QFile::remove(image); }, false},
      {"a folder made", false, [&] { QDir().mkdir(image); }, false},
  };
  for (const auto &row : cases) {
    SCOPED_TRACE(row.change);
    QDir(image).removeRecursively();
    QFile::remove(image);
    if (row.before) {
      dir.write("prog.cas", "CAS");
    }
    const WriteStamp before = writeStampOf(image);
    row.act();
    EXPECT_EQ(writtenSince(image, before), row.written);
  }
  // The file's own time, to the second MinGW's std::filesystem keeps.
  QDir(image).removeRecursively();
  dir.write("prog.cas", "CAS");
  const auto apart = writeStampOf(image).modified - std::filesystem::last_write_time(file);
  EXPECT_LT(std::chrono::abs(apart), std::chrono::seconds(2));
}

TEST(TextFile, ErrorsNameTheFileAndAWriteReplacesItWhole) {
  TempDir dir;
  for (const QString &path : {dir.path(QStringLiteral("missing.txt")), dir.root()}) {
    try {
      readTextFile(path);
      ADD_FAILURE() << "no error";
    } catch (const Error &e) {
      EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(path))) << e.what();
    }
  }
  const QString path = dir.write(QStringLiteral("f.txt"), QByteArray(1000, 'x'));
  EXPECT_EQ(writeFileAtomically(path, "\x82\xA0\r\n"), QString()); // its folder synced too
  EXPECT_EQ(readTextFile(path), QStringLiteral("あ\n"));
  EXPECT_THROW(writeFileAtomically(dir.path(QStringLiteral("no/such/f.txt")), "x"), Error);
}

// Root may write a file read-only for its owner: the save must not make it writable.
TEST(TextFile, ASaveKeepsTheFilesPermissionBits) {
#ifdef Q_OS_WIN
  GTEST_SKIP() << "Windows files have no permission bits";
#else
  TempDir dir;
  const QString path = dir.path(QStringLiteral("f.bas"));
  for (const auto mode :
       {fs::perms(0444), fs::perms(0555), fs::perms(0755), fs::perms(0640), fs::perms(0600)}) {
    SCOPED_TRACE(static_cast<int>(mode));
    dir.write(QStringLiteral("f.bas"), "old");
    fs::permissions(path.toStdString(), mode);
    writeFileAtomically(path, "new");
    EXPECT_EQ(fs::status(path.toStdString()).permissions(), mode);
    EXPECT_EQ(readFileBytes(path), "new");
  }
  // Another owner's set-user-id bit would make our new file run as us.
  dir.write(QStringLiteral("f.bas"), "old");
  // A change of owner clears the bit: it is set after.
  if (::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0 && ::geteuid() != 65534) {
    fs::permissions(path.toStdString(), fs::perms(04755));
    writeFileAtomically(path, "new");
    EXPECT_EQ(fs::status(path.toStdString()).permissions(), fs::perms(0755));
  }
#endif
}

} // namespace
} // namespace kavrin
