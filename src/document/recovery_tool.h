#pragma once

#include "logic/recovery_writer.h"
#include "widgets/window_feature.h"

#include <QPointer>
#include <QStringList>
#include <QTimer>

namespace kavrin {

// Keeps a recovery copy of the document while it has unsaved changes, and
// offers the copies of editors that stopped without saving at start-up.
// No copy goes while its text is safe nowhere else.
class RecoveryTool : public WindowFeature {
  Q_OBJECT

public:
  explicit RecoveryTool(const FeatureContext &context);
  // The copy goes when the user has decided about the text; otherwise what
  // is waiting is written and stays for the next start.
  ~RecoveryTool() override;

  void started() override;
  void closing() override;

  // Asks for the copy now if changes are waiting for it; returns at once.
  void writeNow();
  // Waits for the copy asked for; empty when it is on disk, else why not.
  QString finishWriting() { return writer_.finish(); }
  QString ownFile() const { return writer_.ownFile(); }

private:
  void changed();
  void unmodified();
  void replaced();
  void written(bool wrote, const QString &why);
  // Removes the copies of other editors that the window's text now holds.
  void textSafe();
  // True when the user took the copy into the window.
  bool offer(const LeftCopy &left);
  void takeOver(const LeftCopy &left);
  void tellWaiting(const std::vector<LeftCopy> &left, size_t taken);

  QPointer<ProgramEditor> editor_;
  QString folder_;
  PauseSchedule schedule_;
  QTimer timer_;
  // Unsaved text is in the window that the user has not decided about.
  bool atRisk_ = false;
  // Copies are failing; the user has been told once.
  bool failing_ = false;
  // Copies of stopped editors whose text was taken in but is not yet safe.
  QStringList takenIn_;
  // Last, so that it finishes its work before the rest goes.
  RecoveryWriter writer_;
};

} // namespace kavrin
