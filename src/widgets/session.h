#pragma once

#include "logic/file_stamp.h"
#include "logic/keyword_matcher.h"
#include "logic/recovery.h"
#include "logic/settings_file.h"
#include "logic/settings_table.h"
#include "logic/source_form.h"
#include "platform/user_interface.h"

#include <QObject>
#include <QStringList>

#include <optional>

namespace kavrin {

// The open document as other command sets may use it.
class DocumentAccess {
public:
  // Asks about unsaved changes, saving when told to; true to go on.
  virtual bool querySave() = 0;
  // Saves unsaved changes under the document's name without asking, unless
  // the user has declined to save changes since the last save: then asks as
  // querySave does (also about edits made after an undo to the saved text).
  // True to go on.
  virtual bool saveChanges() = 0;
  // Takes a recovered text into the window as a modified document in the
  // form it had; a save replaces the file without a question only while it
  // is as the copy's stamp says (as it is now, without one).
  virtual void restore(const RecoveryCopy &copy) = 0;
  // The document's file as last read or written here.
  virtual FileStamp diskStamp() const = 0;

protected:
  ~DocumentAccess() = default;
};

// What several command sets share: the program's files, the document's
// name, the BASIC mode with its keyword list and the user's preferences.
class Session : public QObject {
  Q_OBJECT

public:
  explicit Session(ProgramPaths paths, QObject *parent = nullptr);

  const ProgramPaths &paths() const { return paths_; }

  // The document's path, empty for a new one.
  const QString &fileName() const { return fileName_; }
  void setFileName(const QString &fileName) { fileName_ = fileName; }

  // The document is in the source form (lines without numbers, labels), to
  // be built into the numbered program; else it is the numbered program.
  bool sourceForm() const { return sourceForm_; }
  void setSourceForm(bool source);
  // A source document's `text` built into the numbered program, whose
  // numbers its lines go by; none for a numbered document or a source the
  // build refuses, whose lines go by the numbers written.
  std::optional<basic::BuiltProgram> numberedBuild(const QString &text) const;

  // 5 for modes 1-5, 6 for mode 6.
  int mode() const { return mode_; }
  void setMode(int mode) { mode_ = mode; }
  // The current mode's keywords, as its list gives them.
  const QStringList &keywords() const { return keywords_; }
  // The same, as the BASIC reader finds them.
  const basic::KeywordMatcher &keywordMatcher() const { return matcher_; }
  void setKeywords(const QStringList &keywords);

  const Preferences &preferences() const { return preferences_; }
  void setPreferences(const Preferences &preferences);

  // One save dialog serves saving and converting, as one component did:
  // the name last chosen in either is proposed in both.
  FileDialog &saveDialog() { return saveDialog_; }

  // The document commands lend themselves here.
  void setDocument(DocumentAccess *document) { document_ = document; }
  bool querySave() { return document_ == nullptr || document_->querySave(); }
  bool saveChanges() { return document_ == nullptr || document_->saveChanges(); }
  void restore(const RecoveryCopy &copy);
  FileStamp diskStamp() const { return document_ == nullptr ? FileStamp{} : document_->diskStamp(); }

signals:
  void keywordsChanged();
  void preferencesChanged();
  // The document's text has been written to its file.
  void documentSaved();
  // Another document is in the window (new, opened or restored), or the
  // document took another name: what was kept for the old one goes.
  void documentReplaced();
  // The user changed a setting (a dialog's OK, a menu toggle, a mode, the
  // recent list): the settings file is written at once, not only at the close.
  void settingChanged();
  // The document went into the other form.
  void formChanged();

private:
  ProgramPaths paths_;
  QString fileName_;
  bool sourceForm_ = false;
  int mode_ = 5;
  QStringList keywords_;
  basic::KeywordMatcher matcher_;
  Preferences preferences_;
  FileDialog saveDialog_;
  DocumentAccess *document_ = nullptr;
};

} // namespace kavrin
