#include "platform/error.h"
#include "platform/file_filter.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "support/temp_dir.h"
#include "widgets/qt_user_interface.h"

#include <gtest/gtest.h>

namespace kavrin {
namespace {

using testing::TempDir;

TEST(FileFilter, MasksListEveryLetterCaseAndEveryFile) {
  EXPECT_EQ(qtNameFilters(
                QStringLiteral("テキスト文書 (*.txt)|*.TXT|すべてのファイル (*.*)|*.*|BASIC|*.bas;*.txt")),
            (QStringList{QStringLiteral("テキスト文書 (*.txt)"), QStringLiteral("すべてのファイル (*)"),
                         QStringLiteral("BASIC (*.bas *.txt)")}));
  EXPECT_TRUE(qtNameFilters(QStringLiteral("no mask")).isEmpty());
}

TEST(FileDialogs, TheStateIsShownAsLeft) {
  TempDir dir;
  const FileDialog state{QStringLiteral("テープイメージ (*.cas)|*.CAS|すべてのファイル (*.*)|*.*"),
                         QStringLiteral("テープイメージに変換"), dir.path(QStringLiteral("prog.cas")), "cas"};
  const auto save = makeFileDialog(nullptr, state, QFileDialog::AcceptSave);
  EXPECT_EQ(save->windowTitle(), state.title);
  EXPECT_EQ(save->selectedNameFilter(), QStringLiteral("テープイメージ (*.cas)"));
  EXPECT_EQ(QDir(save->directory()).canonicalPath(), QDir(dir.root()).canonicalPath());
  EXPECT_EQ(save->fileMode(), QFileDialog::AnyFile);
  EXPECT_TRUE(save->testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(save->defaultSuffix(), QStringLiteral("cas"));
  EXPECT_EQ(makeFileDialog(nullptr, state, QFileDialog::AcceptOpen)->fileMode(), QFileDialog::ExistingFile);
}

TEST(Paths, FileNameRules) {
  const char *rows[][3] = {
      // path, fileNamePart, programFileNamePart
      {"game.txt", "game.txt", "game.txt"},
      {"/home/user/star.txt", "star.txt", "star.txt"},
#ifdef Q_OS_WIN
      {"C:\\a b\\txt2bas.exe", "txt2bas.exe", "txt2bas.exe"},
      {"C:game.txt", "game.txt", "C:game.txt"},
#else
      // A backslash or a colon is part of a Linux file name.
      {"/tmp/a\\b:c.txt", "a\\b:c.txt", "b:c.txt"},
#endif
  };
  for (const auto &[path, native, program] : rows) {
    SCOPED_TRACE(path);
    EXPECT_EQ(fileNamePart(QString::fromUtf8(path)), QString::fromUtf8(native));
    EXPECT_EQ(programFileNamePart(QString::fromUtf8(path)), QString::fromUtf8(program));
  }
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
  EXPECT_TRUE(samePath(QStringLiteral("/a/B.TXT"), QStringLiteral("/a/b.txt")));
#else
  EXPECT_FALSE(samePath(QStringLiteral("/a/B.TXT"), QStringLiteral("/a/b.txt")));
#endif
  EXPECT_TRUE(samePath(QStringLiteral("/a/b.txt"), QStringLiteral("/a/b.txt")));
}

TEST(TextFile, ErrorsNameTheFileAndAWriteReplacesItWhole) {
  TempDir dir;
  for (const QString &path : {dir.path(QStringLiteral("missing.txt")), dir.root()}) {
    try {
      readTextFile(path);
      ADD_FAILURE() << "no error";
    } catch (const Error &e) {
      EXPECT_TRUE(e.message().contains(path)) << e.what();
    }
  }
  const QString path = dir.write(QStringLiteral("f.txt"), QByteArray(1000, 'x'));
  writeFileAtomically(path, "\x82\xA0\r\n");
  EXPECT_EQ(readTextFile(path), QStringLiteral("あ\n"));
  EXPECT_THROW(writeFileAtomically(dir.path(QStringLiteral("no/such/f.txt")), "x"), Error);
}

} // namespace
} // namespace kavrin
