#pragma once

#include "app/application.h"
#include "app/main_window.h"
#include "support/qt_printers.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"
#include "widgets/program_editor.h"
#include "widgets/session.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace kavrin::testing {

inline ProgramPaths testPaths(const TempDir &dir) {
  return {QCoreApplication::applicationDirPath() + u'/', dir.path(QStringLiteral("kavrin.ini")),
          dir.path(QStringLiteral("state"))};
}

// A main window answered by a script, with a folder of its own.
class WindowTest : public ::testing::Test {
protected:
  void start(const QStringList &args = {}) {
    window = createMainWindow(ui, args, paths());
    ASSERT_TRUE(window) << "the main window was not built";
    window->show();
    // Window shortcuts act only in the active window.
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get(), 2000));
  }

  void SetUp() override { start(); }

  void TearDown() override { EXPECT_TRUE(ui.scriptDone()) << "scripted answers left unused"; }

  // The program's own folder for its keyword lists; the settings file in
  // the test's folder.
  ProgramPaths paths() const { return testPaths(dir); }
  QString iniPath() const { return dir.path(QStringLiteral("kavrin.ini")); }

  ProgramEditor &editor() { return window->editor(); }

  template <class T> void setPreference(T Preferences::*field, T value) {
    Preferences preferences = window->session().preferences();
    preferences.*field = std::move(value);
    window->session().setPreferences(preferences);
  }

  void setConverter(const QString &path) { setPreference(&Preferences::converter, path); }

  // Types as a user does, key by key.
  void type(const QString &text) { QTest::keyClicks(&window->editor(), text); }

  QString text() { return editor().toPlainText(); }
  // A program as if just opened: unchanged.
  void load(const QString &program) {
    editor().setText(program);
    editor().setModified(false);
  }
  int caretLine() { return editor().textCursor().blockNumber(); }
  // Fills the line edits of the next modal dialog in order, then presses
  // Enter in the first, which has the focus.
  void fillNextDialog(const QStringList &fields) {
    ui.modalScripts.push_back([fields](QDialog &dialog) {
      const QList<QLineEdit *> edits = dialog.findChildren<QLineEdit *>();
      EXPECT_EQ(dialog.focusWidget(), edits.value(0));
      for (qsizetype i = 0; i < fields.size(); ++i) {
        edits.at(i)->setText(fields[i]);
      }
      QTest::keyClick(edits.at(0), Qt::Key_Return);
    });
  }

  // Lets queued work (such as a drop's prompt) run.
  static void settle() {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::processEvents();
    }
  }

  ScriptedUserInterface ui;
  TempDir dir;
  std::unique_ptr<MainWindow> window;
};

// The question asked before discarding changes.
inline const QString kSaveQuestion = QStringLiteral("ファイルの内容が変更されています。変更を保存しますか?");

} // namespace kavrin::testing
