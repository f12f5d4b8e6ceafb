#pragma once

#include "support/window_fixture.h"

#include "document/document_commands.h"
#include "logic/output_line_numbers.h"
#include "widgets/panel_host.h"
#include "widgets/result_panel.h"

#include <QDialog>
#include <QFile>
#include <QLineEdit>

namespace kavrin::testing {

inline const QString kDone = QStringLiteral("正常に終了しました");

// A window with a saved program.
class ConvertTest : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    window->feature<DocumentCommands>()->load(program);
  }

  void convertTo(const std::optional<QString> &image) {
    ui.saveAnswers.push_back(image);
    window->command("convert")->trigger();
  }

  // The emulator's command line, given in its settings dialog.
  void setEmulator(const QString &line) {
    ui.modalScripts.push_back([line](QDialog &dialog) {
      dialog.findChild<QLineEdit *>()->setText(line);
      dialog.accept();
    });
    window->command("emulatorSettings")->trigger();
    window->activateWindow(); // as a real window is once its dialog has gone
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get(), 2000));
  }

  const QString program = dir.write("プロ.txt", "10 END\r\n");
  // The text of the output tab's last row; none before the first.
  QString lastRow() const {
    const QList<OutputRow> all = rows();
    return all.isEmpty() ? QString() : all.last().text;
  }

  QList<OutputRow> rows(qsizetype from = 0) const {
    QList<OutputRow> out;
    if (const ResultPanel *panel = window->findChild<PanelHost *>()->existing()) {
      const ResultRows &tab = panel->rows(ResultTab::Output);
      for (int row = static_cast<int>(from); row < tab.rowCount(); ++row) {
        out.append({tab.label(row), tab.numberOf(row)});
      }
    }
    return out;
  }
};

} // namespace kavrin::testing
