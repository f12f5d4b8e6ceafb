#include "convert/convert_fixture.h"

#include "logic/emulator_command.h"

#include <QDir>
#include <QListView>

namespace kavrin::testing {
namespace {

// The first run asks for the image; what comes before the second decides
// whether it asks again, and where the image goes.
TEST_F(ConvertTest, RunAgainGoesToTheImageLastChosenForTheDocument) {
  // An image named fail.cas fails once.
  setConverter(dir.converter("txt2bas.exe", "fail-once fail.cas\n"));
  setEmulator(joinCommandLine({dir.converter("emu.exe", "exit 0\n")}) + " %1");
  const QString first = dir.path("sub/first.cas");
  const QString chosen = dir.path("chosen.cas");
  const QString asked = dir.path("asked.cas");
  const auto saveAs = [this](const QString &path) {
    ui.saveAnswers.push_back(path);
    window->command("saveAs")->trigger();
  };
  const struct {
    const char *before;
    std::function<void()> act;
    QString image;           // where the second run goes; `asked` when the dialog asks
    bool asksToSave = false; // edits whose save was declined are asked about again
  } cases[] = {
      {"nothing", [] {}, first},
      {"an edit, saved without a question", [this] { type("1"); }, first},
      {"変換... to another image", [&] { convertTo(chosen); }, chosen},
      {"変換... cancelled", [&] { convertTo(std::nullopt); }, first},
      {"変換... failing", [&] { convertTo(dir.path("fail.cas")); }, dir.path("fail.cas")},
      {"変換... with the save of an edit declined",
       [&] {
         type("1");
         ui.answers.push_back(MsgResult::No);
         convertTo(chosen);
       },
       chosen, true},
      {"the save of an edit declined, then undone and redone",
       [&] {
         type("1");
         ui.answers.push_back(MsgResult::No);
         convertTo(chosen);
         editor().undo();
         editor().redo();
       },
       chosen, true},
      {"the save of an edit declined by Open, then cancelled",
       [&] {
         type("1");
         ui.answers.push_back(MsgResult::No);
         ui.openAnswers.push_back(std::nullopt);
         window->command("open")->trigger();
       },
       first, true},
      {"the save of an edit declined, then saved, then another edit",
       [&] {
         type("1");
         ui.answers.push_back(MsgResult::No);
         convertTo(chosen);
         window->command("save")->trigger();
         type("2");
       },
       chosen},
      {"Save As under the same name", [&] { saveAs(program); }, asked},
      {"Save As under another name", [&] { saveAs(dir.path("other.txt")); }, asked},
      {"Open", [this] { window->feature<DocumentCommands>()->load(program); }, asked},
      {"the image's folder gone", [this] { QDir(dir.path("sub")).removeRecursively(); }, asked},
      {"a recovery copy restored",
       [this] {
         window->session().restore({program, "10 END", QDateTime::currentDateTime()});
         window->command("save")->trigger();
       },
       asked},
      {"New, saved under the same name",
       [&] {
         window->command("new")->trigger();
         saveAs(program);
       },
       asked},
  };
  for (const auto &row : cases) {
    SCOPED_TRACE(row.before);
    window->feature<DocumentCommands>()->load(program);
    QDir().mkpath(dir.path("sub"));
    ui.saveAnswers.push_back(first);
    window->command("emulatorRun")->trigger();
    row.act();
    const std::size_t dialogs = ui.saveCalls.size();
    const qsizetype boxes = ui.messages.size();
    const qsizetype before = rows().size();
    if (row.image == asked) {
      ui.saveAnswers.push_back(asked);
    }
    if (row.asksToSave) {
      ui.answers.push_back(MsgResult::Yes);
    }
    editor().setFocus();
    // Ctrl held as the system delivers it: the whole application then knows that Ctrl is down.
    QTest::keyPress(window->windowHandle(), Qt::Key_Control, Qt::ControlModifier);
    QTest::keyClick(window->windowHandle(), Qt::Key_F5, Qt::ControlModifier);
    QTest::keyRelease(window->windowHandle(), Qt::Key_Control);
    EXPECT_EQ(ui.saveCalls.size() - dialogs, row.image == asked ? 1U : 0U);
    EXPECT_EQ(ui.messageTexts().mid(boxes),
              row.asksToSave ? QStringList({kSaveQuestion, kDone}) : QStringList({kDone}));
    EXPECT_EQ(dir.read("txt2bas.exe.args").split('\n').value(1),
              QDir::toNativeSeparators(row.image).toUtf8());
    const QList<OutputRow> added = rows(before);
    EXPECT_TRUE(!added.isEmpty() &&
                added[0].text.endsWith(QDir::toNativeSeparators(row.image))); // where it went
    // The run's first row is current and alone selected, Ctrl held or not.
    ASSERT_TRUE(window->findChild<PanelHost *>()->existing() != nullptr);
    for (const QListView *view : window->findChildren<QListView *>()) {
      if (view->model() == &window->findChild<PanelHost *>()->existing()->rows(ResultTab::Output)) {
        EXPECT_EQ(view->selectionModel()->selectedRows(), QModelIndexList{view->currentIndex()});
        EXPECT_EQ(view->currentIndex().row(), before);
      }
    }
    EXPECT_FALSE(editor().modified()); // an edit is saved
  }
}

} // namespace
} // namespace kavrin::testing
