#pragma once

#include "app/window_feature.h"
#include "document/recovery.h"

#include <QTimer>

namespace kavrin {

// Keeps a recovery copy of the document while it has unsaved changes, and
// offers the copies of editors that stopped without saving at start-up.
class RecoveryTool : public WindowFeature {
  Q_OBJECT

public:
  explicit RecoveryTool(const WindowParts &parts);
  // A normal end: nothing is left to recover.
  ~RecoveryTool() override;

  void started() override;

  const RecoveryStore &store() const { return store_; }
  // Writes the copy now if changes are waiting for it.
  void writeNow();

private:
  void changed();
  void saved(bool modified);
  // True when the user took the copy into the window.
  bool offer(const LeftCopy &left);

  QWidget *window_;
  RichEdit *editor_;
  UserInterface &ui_;
  const QString &fileName_;
  std::function<void(const QString &, const QString &)> restore_;
  RecoveryStore store_;
  RecoverySchedule schedule_;
  QTimer timer_;
};

} // namespace kavrin
