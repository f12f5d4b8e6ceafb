#include "platform/cp932.h"
#include "support/file_size_limit.h"
#include "support/window_fixture.h"

#include <QFile>

namespace kavrin {
namespace {

using testing::kSaveQuestion;
using testing::WindowTest;

const QString kTextFilter = QStringLiteral("テキスト文書 (*.txt)|*.TXT|すべてのファイル (*.*)|*.*");

class DocumentTest : public WindowTest {
protected:
  // A modified untitled document.
  void edit(const QString &typed = QStringLiteral("10 PRINT")) { type(typed); }

  QString sjisFile(const QString &name, const QByteArray &bytes) { return dir.write(name, bytes); }
};

TEST_F(DocumentTest, TheQuestionBeforeDiscardingIsTheProgramsOwn) {
  edit();
  ui.answers = {MsgResult::Cancel};
  form->New1Click();
  ASSERT_EQ(ui.messages.size(), 1u);
  const auto &m = ui.messages.front();
  EXPECT_EQ(m.text, kSaveQuestion);
  EXPECT_EQ(m.caption, QStringLiteral("kavrin"));
  EXPECT_EQ(m.buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(m.defaultButton, MsgResult::Yes);
}

TEST_F(DocumentTest, NewAsksOnlyAboutChanges) {
  form->New1Click();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(form->windowTitle(), QStringLiteral("kavrin"));

  edit();
  ui.answers = {MsgResult::Cancel, MsgResult::No};
  form->New1Click();
  EXPECT_EQ(text(), QStringLiteral("10 PRINT"));
  EXPECT_TRUE(editor().modified());
  form->New1Click();
  EXPECT_EQ(text(), QString());
  EXPECT_FALSE(editor().modified());
  EXPECT_TRUE(form->FileName.isEmpty());
}

TEST_F(DocumentTest, YesOnAnUntitledDocumentSavesThroughTheDialogOrAbandons) {
  edit();
  ui.answers = {MsgResult::Yes};
  ui.saveAnswers = {std::nullopt};
  form->New1Click();
  ASSERT_EQ(ui.saveCalls.size(), 1u);
  EXPECT_EQ(ui.saveCalls[0].state.filter, kTextFilter);
  EXPECT_EQ(ui.saveCalls[0].state.title, QString());
  EXPECT_EQ(text(), QStringLiteral("10 PRINT")); // abandoned

  const QString path = dir.path(QStringLiteral("prog.txt"));
  ui.answers = {MsgResult::Yes};
  ui.saveAnswers = {path};
  form->New1Click();
  EXPECT_EQ(dir.read(QStringLiteral("prog.txt")), QByteArray("10 PRINT"));
  EXPECT_EQ(text(), QString());
  EXPECT_EQ(form->RecentFiles.first(), path);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("kavrin"));
}

TEST_F(DocumentTest, NoThenCancellingTheOpenDialogKeepsTheText) {
  edit();
  ui.answers = {MsgResult::No};
  ui.openAnswers = {std::nullopt};
  form->Open1Click();
  EXPECT_EQ(ui.openCalls.at(0).state.filter, kTextFilter);
  EXPECT_EQ(text(), QStringLiteral("10 PRINT"));
  EXPECT_TRUE(editor().modified());
}

TEST_F(DocumentTest, OpenLoadsShiftJisAndNamesTheWindow) {
  const QString path = sjisFile(QStringLiteral("star.txt"), "10 PRINT \"\x82\xa0\"\r\n20 END\r\n");
  ui.openAnswers = {path};
  form->Open1Click();
  EXPECT_EQ(text(), QStringLiteral("10 PRINT \"あ\"\n20 END\n"));
  EXPECT_EQ(form->FileName, path);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("star.txt - kavrin"));
  EXPECT_FALSE(editor().modified());
  EXPECT_EQ(form->RecentFiles, (QStringList{path, QString(), QString(), QString()}));
  EXPECT_EQ(form->Recent1->text(), QStringLiteral("&1 star.txt"));
}

TEST_F(DocumentTest, AFailedReadLeavesTheDocumentAsItWas) {
  const QString first = sjisFile(QStringLiteral("first.txt"), "10 REM\r\n");
  form->LoadFile(first);
  type(QStringLiteral("X"));
  ui.answers = {MsgResult::No};
  ui.openAnswers = {dir.path(QStringLiteral("gone.txt"))};
  form->Open1->trigger();
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_TRUE(ui.messages[1].text.contains(QStringLiteral("gone.txt")));
  EXPECT_EQ(ui.messages[1].caption, QStringLiteral("kavrin"));
  EXPECT_EQ(form->FileName, first);
  EXPECT_EQ(text(), QStringLiteral("X10 REM\n"));
  EXPECT_EQ(form->windowTitle(), QStringLiteral("first.txt - kavrin"));
  EXPECT_EQ(form->RecentFiles.first(), first);
  // The next save still goes to the file the text came from.
  form->Save1Click();
  EXPECT_EQ(dir.read(QStringLiteral("first.txt")), QByteArray("X10 REM\r\n"));
}

TEST_F(DocumentTest, EditingChangesOnlyTheEditedBytes) {
  QByteArray original("10 PRINT \"\x82\xb1\x82\xf1\"\r\n20 REM \x80\xff\x87\x90\xfd\x82\r\n30 GOTO 10\r\n");
  const QString path = sjisFile(QStringLiteral("odd.txt"), original);
  form->LoadFile(path);
  editor().moveCursor(QTextCursor::End);
  type(QStringLiteral("40 END"));
  form->Save1Click();
  EXPECT_EQ(dir.read(QStringLiteral("odd.txt")), original + "40 END");
}

TEST_F(DocumentTest, SaveRewritesEvenWithoutChangesAndMovesToTheTop) {
  const QString a = sjisFile(QStringLiteral("a.txt"), "A\r\n");
  const QString b = sjisFile(QStringLiteral("b.txt"), "B\r\n");
  form->LoadFile(a);
  form->LoadFile(b);
  QFile::remove(a);
  ui.answers = {};
  form->OpenRecent(1); // a is gone: reported, list kept
  EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("ファイルが見つかりません")});
  EXPECT_EQ(form->RecentFiles.mid(0, 2), (QStringList{b, a}));
  form->FileName = a;
  form->Save1Click();
  EXPECT_EQ(dir.read(QStringLiteral("a.txt")), QByteArray("B\r\n"));
  EXPECT_EQ(form->RecentFiles.mid(0, 2), (QStringList{a, b}));
}

TEST_F(DocumentTest, SaveAsReplacesWithoutAskingAndKeepsTheDialogsName) {
  const QString existing = sjisFile(QStringLiteral("old.txt"), "old");
  edit(QStringLiteral("new"));
  ui.saveAnswers = {existing, dir.path(QStringLiteral("noext"))};
  form->SaveAs1Click();
  EXPECT_EQ(dir.read(QStringLiteral("old.txt")), QByteArray("new"));
  EXPECT_EQ(form->windowTitle(), QStringLiteral("old.txt - kavrin"));
  EXPECT_TRUE(ui.messages.empty());
  form->SaveAs1Click();
  // The dialog proposes the name last chosen in it; no extension is added.
  EXPECT_EQ(ui.saveCalls.at(1).state.fileName, existing);
  EXPECT_EQ(dir.read(QStringLiteral("noext")), QByteArray("new"));
  EXPECT_EQ(form->FileName, dir.path(QStringLiteral("noext")));
}

TEST_F(DocumentTest, SaveAndSaveAsResetTheSharedDialogsFilterAndTitle) {
  // Another command left its own filter, title and name in the dialog.
  form->SaveDialog1 = {QStringLiteral("テープイメージ (*.cas)|*.CAS|すべてのファイル (*.*)|*.*"),
                       QStringLiteral("テープイメージに変換"), dir.path(QStringLiteral("prog.cas")),
                       QString()};
  edit();
  ui.saveAnswers = {std::nullopt};
  form->Save1Click();
  EXPECT_EQ(ui.saveCalls.at(0).state.filter, kTextFilter);
  EXPECT_EQ(ui.saveCalls.at(0).state.title, QString());
  EXPECT_EQ(ui.saveCalls.at(0).state.fileName, dir.path(QStringLiteral("prog.cas")));
  EXPECT_TRUE(editor().modified());
}

TEST_F(DocumentTest, AFailedSaveKeepsTheOldFileAndTheChanges) {
  const QString path = sjisFile(QStringLiteral("p.txt"), "10 REM old\r\n");
  form->LoadFile(path);
  editor().moveCursor(QTextCursor::End);
  editor().setSelText(QString(20000, u'x'));
  {
    testing::FileSizeLimit limit(1024);
    form->guard([this] { form->Save1Click(); });
  }
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("p.txt")));
  EXPECT_TRUE(editor().modified());
  EXPECT_EQ(dir.read(QStringLiteral("p.txt")), QByteArray("10 REM old\r\n"));

  // Closing then asks; a save that fails again keeps the window open.
  ui.answers = {MsgResult::Yes};
  {
    testing::FileSizeLimit limit(1024);
    EXPECT_FALSE(form->close());
  }
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(ui.messages.size(), 3u);
}

TEST_F(DocumentTest, TextOutsideShiftJisIsReportedBeforeAnyDialog) {
  edit(QStringLiteral("10 PRINT \"caf"));
  editor().setSelText(QStringLiteral("é😀\""));
  form->guard([this] { form->Save1Click(); });
  EXPECT_TRUE(ui.saveCalls.empty());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("U+00E9"))) << ui.messages[0].text.toStdString();
  EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("2")));
  EXPECT_EQ(editor().selText(), QStringLiteral("é"));
  EXPECT_TRUE(editor().modified());
  EXPECT_TRUE(form->FileName.isEmpty());
}

TEST_F(DocumentTest, RecentEntriesReopenAfterTheQuestion) {
  const QString a = sjisFile(QStringLiteral("a.txt"), "AAA");
  const QString b = sjisFile(QStringLiteral("b.txt"), "BBB");
  form->LoadFile(a);
  form->LoadFile(b);
  EXPECT_EQ(form->Recent2->text(), QStringLiteral("&2 a.txt"));
  EXPECT_TRUE(form->Recent2->isVisible());
  EXPECT_FALSE(form->Recent3->isVisible());
  type(QStringLiteral("!"));
  ui.answers = {MsgResult::Cancel, MsgResult::No};
  form->Recent2->trigger();
  EXPECT_EQ(text(), QStringLiteral("!BBB"));
  form->Recent2->trigger();
  EXPECT_EQ(text(), QStringLiteral("AAA"));
  EXPECT_EQ(form->RecentFiles.mid(0, 2), (QStringList{a, b}));
  EXPECT_EQ(form->windowTitle(), QStringLiteral("a.txt - kavrin"));
}

TEST_F(DocumentTest, AnEmptyRecentListShowsOneGreyedLine) {
  EXPECT_TRUE(form->Recent1->isVisible());
  EXPECT_FALSE(form->Recent1->isEnabled());
  EXPECT_EQ(form->Recent1->text(), QStringLiteral("最近使ったファイル"));
  for (QAction *item : {form->Recent2, form->Recent3, form->Recent4}) {
    EXPECT_FALSE(item->isVisible());
  }
}

TEST_F(DocumentTest, UndoingEveryChangeNeedsNoQuestion) {
  edit(QStringLiteral("A"));
  editor().undo();
  form->New1Click();
  EXPECT_TRUE(ui.messages.empty());
}

} // namespace
} // namespace kavrin
