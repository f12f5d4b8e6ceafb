#include "widgets/qt_user_interface.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace kavrin {
namespace {

// A save asks before replacing a file only when told to; a type chosen in place of the
// first gives a name typed without an extension that type's, the first and every file the given one.
TEST(FileDialogs, ShowTheirStateAndAChosenTypeGivesItsExtension) {
  testing::TempDir dir;
  FileDialog state{"テキスト文書 (*.txt)|*.TXT|BASIC プログラム (*.bas)|*.bas|すべてのファイル (*.*)|*.*",
                   "テープイメージに変換", dir.path("prog.cas"), "cas"};
  for (const auto mode : {QFileDialog::AcceptOpen, QFileDialog::AcceptSave}) {
    SCOPED_TRACE(mode);
    for (const bool ask : {false, true}) {
      state.askBeforeReplacing = ask;
      EXPECT_EQ(makeFileDialog(nullptr, state, mode)->testOption(QFileDialog::DontConfirmOverwrite), !ask);
    }
    const auto dialog = makeFileDialog(nullptr, state, mode);
    EXPECT_EQ(dialog->windowTitle(), state.title);
    EXPECT_EQ(dialog->nameFilters(),
              QStringList({"テキスト文書 (*.txt)", "BASIC プログラム (*.bas)", "すべてのファイル (*)"}));
    EXPECT_EQ(dialog->selectedNameFilter(), "テキスト文書 (*.txt)");
    EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(dir.root()).canonicalPath());
    EXPECT_EQ(dialog->fileMode(),
              mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
    // Qt's own dialog, which matches "*.CAS" in any letter case.
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
#endif
    for (const char *filter :
         {"", "BASIC プログラム (*.bas)", "テキスト文書 (*.txt)", "すべてのファイル (*)"}) {
      if (*filter != '\0') {
        emit dialog->filterSelected(QString::fromUtf8(filter));
      }
      const bool bas = mode == QFileDialog::AcceptSave && QByteArray(filter).contains("bas");
      EXPECT_EQ(dialog->defaultSuffix(), bas ? "bas" : "cas") << filter;
    }
  }
  state.defaultExt = "bas"; // a type of its own is offered first
  EXPECT_EQ(makeFileDialog(nullptr, state, QFileDialog::AcceptSave)->selectedNameFilter(),
            "BASIC プログラム (*.bas)");
}

} // namespace
} // namespace kavrin
