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

} // namespace
} // namespace kavrin
