#include "widgets/qt_user_interface.h"
#include "support/temp_dir.h"

#include <QFileSystemModel>
#include <QTest>

#include <gtest/gtest.h>

namespace kavrin {
namespace {

// The names the dialog offers in its folder under its selected filter.
QStringList listed(QFileDialog &dialog, const QString &folder) {
  auto *model = dialog.findChild<QFileSystemModel *>();
  EXPECT_NE(model, nullptr);
  if (model == nullptr) {
    return {};
  }
  const QModelIndex root = model->index(folder);
  QStringList names;
  QStringList previous;
  // The model fills in the background; wait until two looks agree.
  for (int tries = 0; tries < 100; ++tries) {
    QTest::qWait(20);
    previous = names;
    names.clear();
    for (int row = 0; row < model->rowCount(root); ++row) {
      const QModelIndex index = model->index(row, 0, root);
      if (model->flags(index) & Qt::ItemIsEnabled) {
        names << model->fileName(index);
      }
    }
    if (!names.isEmpty() && names == previous) {
      break;
    }
  }
  names.sort();
  return names;
}

TEST(FileDialogs, TheTextFilterListsTxtInAnyCaseAndAllFilesListsEverything) {
  testing::TempDir dir;
  for (const char *name : {"a.txt", "B.TXT", "c.Txt", "d.bas", "noext"}) {
    dir.write(QString::fromLatin1(name), "x");
  }
  FileDialog state{QStringLiteral("テキスト文書 (*.txt)|*.TXT|すべてのファイル (*.*)|*.*"), QString(),
                   dir.path(QStringLiteral("a.txt")), QString()};
  const auto dialog = makeFileDialog(nullptr, state, QFileDialog::AcceptOpen);
  EXPECT_EQ(dialog->selectedNameFilter(), QStringLiteral("テキスト文書 (*.txt)"));
  EXPECT_EQ(listed(*dialog, dir.path(QString())), (QStringList{"B.TXT", "a.txt", "c.Txt"}));
  dialog->selectNameFilter(dialog->nameFilters().at(1));
  EXPECT_EQ(listed(*dialog, dir.path(QString())), (QStringList{"B.TXT", "a.txt", "c.Txt", "d.bas", "noext"}));
}

TEST(FileDialogs, TheStateIsShownAsLeft) {
  testing::TempDir dir;
  FileDialog state{QStringLiteral("テープイメージ (*.cas)|*.CAS|すべてのファイル (*.*)|*.*"),
                   QStringLiteral("テープイメージに変換"), dir.path(QStringLiteral("prog.cas")), QString()};
  const auto dialog = makeFileDialog(nullptr, state, QFileDialog::AcceptSave);
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("テープイメージに変換"));
  EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(dir.path(QString())).canonicalPath());
  EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
}

} // namespace
} // namespace kavrin
