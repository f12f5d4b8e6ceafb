#pragma once

#include <QObject>
#include <QPointer>

class QMainWindow;

namespace kavrin {

class ProgramEditor;
class ResultPanel;

// Makes the result panel on first use, so that start-up builds none, and
// docks it at the bottom of the main window.
class PanelHost : public QObject {
  Q_OBJECT

public:
  PanelHost(QMainWindow *window, ProgramEditor *editor);
  ~PanelHost() override;
  PanelHost(const PanelHost &) = delete;
  PanelHost &operator=(const PanelHost &) = delete;

  // The panel, made (hidden) and docked if it was not yet.
  ResultPanel *panel();
  // The panel if made, else null.
  ResultPanel *existing() const;

signals:
  // Just after the panel was made: the time to connect to it.
  void created(ResultPanel *panel);

private:
  QMainWindow *window_;
  ProgramEditor *editor_;
  QPointer<ResultPanel> panel_;
};

} // namespace kavrin
