#pragma once

#include "logic/file_stamp.h"
#include "logic/pause_schedule.h"
#include "platform/process_lock.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace kavrin {

// What a recovery copy keeps of an unsaved document.
struct RecoveryCopy {
  // The document's path; empty for a document never saved.
  QString fileName;
  // The editor's text exactly, line breaks as '\n'.
  QString text;
  QDateTime written;
  // The document's file as the editor last read or wrote it; nothing in a
  // copy of a document never saved, and in copies of earlier versions.
  std::optional<FileStamp> stamp = std::nullopt;
  // Whether the document is in source form, only where its file name does
  // not say so (a converted or unnamed document).
  std::optional<bool> sourceForm = std::nullopt;
};

// A copy's bytes: a header, the copy, and a checksum that tells a damaged
// or cut file.  Nothing when the bytes are not a whole copy of a version
// this program reads.  A copy without a stamp is written as the first
// version was, one with a stamp only as the second, so that earlier
// editors read them too.
QByteArray encodeRecoveryCopy(const RecoveryCopy &copy);
std::optional<RecoveryCopy> decodeRecoveryCopy(const QByteArray &bytes);

// This user's folder of recovery copies: $XDG_STATE_HOME/kavrin, else
// ~/.local/state/kavrin; on Windows and macOS under the per-user
// application data.
QString defaultRecoveryFolder();

// A copy left by an editor that is no longer running.
struct LeftCopy {
  QString file;
  // Nothing when it cannot be read.
  std::optional<RecoveryCopy> copy;
  QDateTime modified;
};

// The copies in a folder.  Each running editor writes one of its own, named
// for it and locked for as long as it runs.  The folder and the copies are
// the user's alone: unsaved text is nobody else's to read.
class RecoveryStore {
public:
  explicit RecoveryStore(QString folder) : folder_(std::move(folder)) {}
  // Lets go of the lock and removes it; the copy stays.
  ~RecoveryStore() { lock_.release(); }
  RecoveryStore(const RecoveryStore &) = delete;
  RecoveryStore &operator=(const RecoveryStore &) = delete;

  // Replaces this editor's copy in one step and reads it back; false, with
  // the reason in `why`, when the copy on disk is not the one given.  A
  // copy that cannot be written leaves the last good one as it was.
  bool write(const RecoveryCopy &copy, QString *why = nullptr);
  // Removes this editor's copy, if any.
  void remove();
  QString ownFile() const { return own_; }

  // The copies of editors no longer running, newest first.
  std::vector<LeftCopy> leftBehind() const;
  // Removes a left copy and its lock.
  static void discard(const QString &copyFile);

private:
  bool claim();

  QString folder_;
  QString own_;
  ProcessLock lock_;
};

} // namespace kavrin
