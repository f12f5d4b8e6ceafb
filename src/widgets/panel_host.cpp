#include "widgets/panel_host.h"

#include "widgets/result_panel.h"

#include <QMainWindow>

namespace kavrin {

PanelHost::PanelHost(QMainWindow *window, ProgramEditor *editor)
    : QObject(window), window_(window), editor_(editor) {}

// The panel's rows follow the editor's lines: it goes before the editor.
PanelHost::~PanelHost() { delete panel_; }

ResultPanel *PanelHost::existing() const { return panel_; }

ResultPanel *PanelHost::panel() {
  if (panel_ == nullptr) {
    panel_ = new ResultPanel(window_, editor_);
    panel_->hide();
    window_->addDockWidget(Qt::BottomDockWidgetArea, panel_);
    emit created(panel_);
  }
  return panel_;
}

} // namespace kavrin
