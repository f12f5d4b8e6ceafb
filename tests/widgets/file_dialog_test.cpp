#include "widgets/qt_user_interface.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace kavrin {
namespace {

// The dialog shows the state it is given, and a save replaces without asking.
TEST(FileDialogs, ShowTheirState) {
  testing::TempDir dir;
  const FileDialog state{"テープイメージ (*.cas)|*.CAS|すべてのファイル (*.*)|*.*", "テープイメージに変換",
                         dir.path("prog.cas"), "cas"};
  for (const auto mode : {QFileDialog::AcceptOpen, QFileDialog::AcceptSave}) {
    SCOPED_TRACE(mode);
    const auto dialog = makeFileDialog(nullptr, state, mode);
    EXPECT_EQ(dialog->windowTitle(), state.title);
    EXPECT_EQ(dialog->selectedNameFilter(), "テープイメージ (*.cas)");
    EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(dir.root()).canonicalPath());
    EXPECT_EQ(dialog->defaultSuffix(), "cas");
    EXPECT_EQ(dialog->fileMode(),
              mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
    // Qt's own dialog, which matches "*.CAS" in any letter case.
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
#endif
  }
}

// A type chosen in place of the one offered gives a name typed without an
// extension that type's; the one offered and every file keep the given one.
TEST(FileDialogs, AChosenTypeGivesItsExtension) {
  const FileDialog state{
      "テキスト文書 (*.txt)|*.TXT|BASIC プログラム (*.bas)|*.bas|すべてのファイル (*.*)|*.*", {}, {}, "x"};
  const auto dialog = makeFileDialog(nullptr, state, QFileDialog::AcceptSave);
  EXPECT_EQ(dialog->nameFilters(),
            QStringList({"テキスト文書 (*.txt)", "BASIC プログラム (*.bas)", "すべてのファイル (*)"}));
  for (const auto &[filter, suffix] : {std::pair{"BASIC プログラム (*.bas)", "bas"},
                                       {"テキスト文書 (*.txt)", "x"},
                                       {"BASIC プログラム (*.bas)", "bas"},
                                       {"すべてのファイル (*)", "x"}}) {
    SCOPED_TRACE(filter);
    emit dialog->filterSelected(QString::fromUtf8(filter));
    EXPECT_EQ(dialog->defaultSuffix(), suffix);
  }
}

} // namespace
} // namespace kavrin
