#pragma once

#include "logic/file_stamp.h"
#include "platform/user_interface.h"
#include "widgets/session.h"
#include "widgets/window_feature.h"

#include <QStringList>

#include <array>

namespace kavrin {

// File > new, open, save, save as, the recent files and exit; the question
// before unsaved changes go, the title, and files dropped on the window.
class DocumentCommands : public WindowFeature, public DocumentAccess {
  Q_OBJECT

public:
  explicit DocumentCommands(const FeatureContext &context);
  ~DocumentCommands() override;

  void readSettings(const SettingValues &values) override;
  void writeSettings(SettingValues &values) const override;

  bool querySave() override;
  bool saveChanges() override;
  void restore(const RecoveryCopy &copy) override;
  FileStamp diskStamp() const override { return diskStamp_; }

  // Reads `path` into the window; throws Error, leaving the document as it
  // was, when it cannot be read.
  void load(const QString &path);
  // The file named on the command line: asked about any recovered text,
  // then loaded.
  void openStartFile(const QString &argument);

  void newDocument();
  void open();
  void save();
  void saveAs();
  void openRecent(int index);
  void openDropped(const QStringList &paths);

  const QStringList &recentFiles() const { return recent_; }

  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void updateTitle();
  // The status bar tells the form; a save after a conversion asks for a name.
  void formChanged();
  // A document read or made: its form is the one its name says.
  void setForm(const QString &path);
  void addRecent();
  void updateRecentMenu();
  // Encodes the editor's text for saving; throws Error, selecting the first
  // character that Shift-JIS cannot hold.
  QByteArray encodedText();
  // Shows the save dialog for a text document; true when a path was chosen.
  bool chooseSavePath();
  // Names the document `path`, to replace the file as it is now.
  void rename(const QString &path);
  // Writes the document to its file; throws Error, leaving it modified.
  void writeDocument(const QByteArray &bytes);
  // Asks before replacing a file that another program changed or removed
  // since it was read or written here; true to go on.
  bool mayReplaceFile();

  FileDialog openDialog_;
  QStringList recent_;
  std::array<QAction *, 4> recentItems_{};
  // The document's file as last read or written here.
  FileStamp diskStamp_;
  // The user answered No to saving the edits in the window, which a silent
  // save must not then write.
  bool declined_ = false;
  // The document went into the form its name does not say: the next save
  // asks for a name.
  bool askName_ = false;
};

} // namespace kavrin
