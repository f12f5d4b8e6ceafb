#include "convert/convert_fixture.h"

#include <QDir>

namespace kavrin::testing {
namespace {

TEST_F(ConvertTest, ASourceIsBuiltBesideItAndItsOutputLeadsToTheSourceLines) {
  window->feature<DocumentCommands>()->load(
      dir.write("game.bsrc", "' demo\r\n*TOP\r\nPRINT:\r\n  GOTO *TOP\r\nEND\r\n"));
  setConverter(dir.converter("txt2bas.exe", "err 10行目: a\nerr 20行目: b\n"));
  const QString image = dir.path("game.cas");
  const QString built = dir.path("game.bas");
  convertTo(image);
  EXPECT_EQ(ui.saveCalls.at(0).fileName, image);
  EXPECT_EQ(dir.read("game.bas"), "10 PRINT:GOTO 10\r\n20 END\r\n");
  EXPECT_EQ(dir.read("txt2bas.exe.args"), QDir::toNativeSeparators(built + '\n' + image + '\n').toUtf8());
  const ResultRows &tab = window->findChild<PanelHost *>()->existing()->rows(ResultTab::Output);
  EXPECT_EQ(tab.lineOf(1), 2); // 10行目: the line that built it
  EXPECT_EQ(tab.lineOf(2), 4);
  // A file there that differs from the last build is replaced only when told.
  const struct {
    QByteArray there;
    std::optional<MsgResult> answer;
    QByteArray after;
    size_t boxes; // the question and the result; the output's boxes as read
  } cases[] = {{"other", MsgResult::No, "other", 1},
               {"other", MsgResult::Yes, "10 PRINT:GOTO 10\r\n20 END\r\n", 2},
               {"10 PRINT:GOTO 10\r\n20 END\r\n", std::nullopt, "10 PRINT:GOTO 10\r\n20 END\r\n", 1}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.there.constData());
    dir.write("game.bas", c.there);
    const qsizetype asked = ui.messages.size();
    if (c.answer) {
      ui.answers.push_back(*c.answer);
    }
    if (c.answer == MsgResult::No) {
      window->command("convert")->trigger(); // kept: no build, no image asked for
    } else {
      convertTo(image);
    }
    EXPECT_EQ(dir.read("game.bas"), c.after);
    if (c.answer) {
      EXPECT_EQ(ui.messages.at(asked).text,
                "ファイル \"" + QDir::toNativeSeparators(built) +
                    "\" は既にあり、今回の起動で kavrin がこのソースから作ったものとは違います。\n"
                    "ビルドした番号付きのプログラムで置き換えますか?");
    }
    const auto others = std::count_if(ui.messages.begin() + asked, ui.messages.end(),
                                      [](const auto &box) { return !box.text.contains(u"行目: "); });
    EXPECT_EQ(static_cast<size_t>(others), c.boxes);
  }
}

TEST_F(ConvertTest, ASourceThatCannotBeBuiltIsNotConverted) {
  window->feature<DocumentCommands>()->load(dir.write("bad.bsrc", "PRINT\r\nGOTO *NONE\r\n"));
  setConverter(dir.converter("txt2bas.exe"));
  window->command("convert")->trigger(); // no image is asked for
  EXPECT_TRUE(ui.saveCalls.empty());
  EXPECT_EQ(ui.messageTexts(), QStringList({"ビルドできないため、変換できません。\n2 行目: ラベル *NONE "
                                            "への参照がありますが、そのラベルはありません"}));
  EXPECT_FALSE(QFile::exists(dir.path("bad.bas")));
  EXPECT_FALSE(QFile::exists(dir.path("txt2bas.exe.args")));
  EXPECT_EQ(editor().textCursor().blockNumber(), 1);
  EXPECT_EQ(window->findChild<PanelHost *>()->existing()->rows(ResultTab::Check).lineOf(0), 1);
  // Nor one named *.bas: its build would replace it.
  window->feature<DocumentCommands>()->load(dir.write("own.bas", "PRINT\r\n"));
  window->session().setSourceForm(true);
  window->command("convert")->trigger();
  EXPECT_EQ(dir.read("own.bas"), "PRINT\r\n");
  EXPECT_FALSE(QFile::exists(dir.path("txt2bas.exe.args")));
}

// Unsaved edits: the converter takes the file as saved, built if it is a
// source, and the rows lead to the lines in the window.
TEST_F(ConvertTest, WithoutASaveTheSavedFileIsConvertedAndRowsLeadToTheLinesShown) {
  const QString source = dir.write("game.bsrc", "*TOP\r\nPRINT:\r\n  GOTO *TOP\r\nEND\r\n");
  setConverter(dir.converter("txt2bas.exe", "err 20行目: a\n"));
  const struct {
    bool numbered; // turned into a numbered document first
    int line;      // the row leads to
  } cases[] = {{true, 2}, {false, 4}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    window->feature<DocumentCommands>()->load(source);
    if (c.numbered) {
      window->command("toNumberedForm")->trigger();
    }
    editor().moveCursor(QTextCursor::Start);
    type("' x\r");
    ui.answers.push_back(MsgResult::No);
    convertTo(dir.path("game.cas"));
    EXPECT_EQ(dir.read("txt2bas.exe.args").split('\n').value(0),
              QDir::toNativeSeparators(dir.path("game.bas")));
    EXPECT_EQ(dir.read("game.bas"), "10 PRINT:GOTO 10\r\n20 END\r\n");
    const ResultRows &tab = window->findChild<PanelHost *>()->existing()->rows(ResultTab::Output);
    EXPECT_EQ(tab.lineOf(tab.rowCount() - 2), c.line);
  }
}

} // namespace
} // namespace kavrin::testing
