#pragma once

#include "document/file_stamp.h"
#include "editing/completion.h"
#include "platform/user_interface.h"

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <functional>

class QAction;
class QActionGroup;
class QKeyEvent;
class QMenu;
class QMenuBar;

namespace kavrin {

class FindDialog;
class PanelStatusBar;
struct ConverterCommand;
class RichEdit;
class WindowFeature;

// Where the program finds its files: its own folder (with the keyword
// lists, ending in a separator) and its settings file.
struct ProgramPaths {
  QString exeDir;
  QString iniFile;
  // Where recovery copies are kept.
  QString stateDir;

  // The paths of the running program.
  static ProgramPaths ofThisProgram();
};

// The main window.  It owns every piece of the program's state; each
// subsystem adds its handlers in a source file of its own folder.
class TForm1 : public QMainWindow, public CompletionState {
  Q_OBJECT

public:
  // Builds the window and all program state; `args` are the command-line
  // arguments after the program name.  Throws Error when start-up fails.
  TForm1(UserInterface &ui, const QStringList &args,
         const ProgramPaths &paths = ProgramPaths::ofThisProgram(), QWidget *parent = nullptr);
  ~TForm1() override;

  // Components, in the order of the window's layout.
  QMenuBar *MainMenu1 = nullptr;
  QAction *New1 = nullptr;
  QMenu *File1 = nullptr;
  QAction *Open1 = nullptr;
  QAction *Save1 = nullptr;
  QAction *SaveAs1 = nullptr;
  QAction *Recent1 = nullptr;
  QAction *Recent2 = nullptr;
  QAction *Recent3 = nullptr;
  QAction *Recent4 = nullptr;
  QAction *Exit1 = nullptr;
  QMenu *Edit1 = nullptr;
  QAction *Undo1 = nullptr;
  QAction *Cut1 = nullptr;
  QAction *Copy1 = nullptr;
  QAction *Paste1 = nullptr;
  QAction *SelectAll1 = nullptr;
  QAction *Find1 = nullptr;
  QAction *Option1 = nullptr;
  QMenu *Format1 = nullptr;
  QAction *Wrap1 = nullptr;
  QAction *Font1 = nullptr;
  QAction *Back1 = nullptr;
  QMenu *Special1 = nullptr;
  QAction *AUTO1 = nullptr;
  QAction *Trans6 = nullptr;
  QAction *N1 = nullptr;
  QAction *N2 = nullptr;
  QAction *N3 = nullptr;
  QAction *N4 = nullptr;
  QAction *N5 = nullptr;
  QAction *EditCopy1 = nullptr;
  QAction *EditCut1 = nullptr;
  QAction *EditPaste1 = nullptr;
  RichEdit *RichEdit1 = nullptr;
  FileDialog OpenDialog1;
  FileDialog SaveDialog1;
  FontChoice FontDialog1;
  TColor ColorDialog1 = clWindow;
  PanelStatusBar *StatusBar1 = nullptr;
  FindDialog *FindDialog1 = nullptr;
  QAction *N6 = nullptr;
  QAction *Mode5 = nullptr;
  QAction *Mode6 = nullptr;
  QActionGroup *ModeGroup = nullptr;

  // Program state.
  // The completion fields come with CompletionState.
  int AutoAdd = 10;
  QString FileName;
  std::array<QString, 10> FunctionKeys;
  QString ConvProg = QStringLiteral("txt2bas.exe");
  QString ExeDir;
  QString IniFile;
  QStringList Keywords;
  bool InsertMode = true;
  bool ShiftDown = false;
  QStringList RecentFiles;

  // Window.
  void FormResize();
  void LayoutStatusPanels();
  void Exit1Click();
  void WMDropFiles(const QStringList &paths);
  // Sets the outer rectangle, frame included, as far as the window system
  // tells the frame; the size follows once the frame is known.
  void setOuterGeometry(int left, int top, int width, int height);

  // Documents.
  bool QuerySave();
  void New1Click();
  void Open1Click();
  void Save1Click();
  void SaveAs1Click();
  void UpdateTitle();
  void LoadFile(const QString &path);
  // A recovered text in the window, under its file name, unsaved.
  void restoreDocument(const QString &fileName, const QString &text);
  void AddRecent();
  void UpdateRecentMenu();
  void OpenRecent(int index);

  // Keyword completion and the BASIC mode.  AppMessage sees the editor's
  // key presses before the editor does; a true `Handled` takes the key.
  void AppMessage(QKeyEvent &key, bool &Handled);
  void Mode5Click();
  void Mode6Click();
  // Function keys, AUTO and the key legend.  The key handlers see the
  // editor's keys that no menu shortcut took.
  void RichEdit1KeyDown(int &Key, Qt::KeyboardModifiers Shift);
  void RichEdit1KeyUp(int &Key, Qt::KeyboardModifiers Shift);
  void UpdateLegend();
  void AUTO1Click();

  // Find.
  void Find1Click();
  void FindDialog1Find();

  // Format and edit commands.
  void ApplyWordWrap();
  void Undo1Click();
  void SelectAll1Click();
  void Wrap1Click();
  void Font1Click();
  void Back1Click();

  // Converting to a tape image.
  void Trans6Click();
  // True when the converter ended with success.
  bool RunConverter(const ConverterCommand &command);

  // Settings.
  void Option1Click();
  // Settings: read during construction; written by a close that goes ahead.
  void readSettings();
  bool FormClose();
  // The outer rectangle, frame included, as far as the window system tells.
  QRect outerGeometry() const;

  UserInterface &ui() { return ui_; }

  // Runs a command; an Error it raises is shown and ends only that command.
  void guard(const std::function<void()> &command);

  bool eventFilter(QObject *watched, QEvent *event) override;

protected:
  void closeEvent(QCloseEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void moveEvent(QMoveEvent *event) override;
  void showEvent(QShowEvent *event) override;
  void dragEnterEvent(QDragEnterEvent *event) override;
  void dragMoveEvent(QDragMoveEvent *event) override;
  void dropEvent(QDropEvent *event) override;

private:
  void createComponents();
  void createMenus();
  void connectHandlers();
  // The command sets beyond the window's own; each is a child of the window.
  void createFeatures(const QString &stateDir);
  QList<WindowFeature *> features() const;
  // The convert command; the tape image path when the converter succeeded.
  QString convertProgram();
  // Encodes the editor's text for saving; throws Error, selecting the first
  // character that Shift-JIS cannot hold.
  QByteArray encodedText();
  // Shows the save dialog for a text document; true when a path was chosen.
  bool chooseSavePath();
  // Writes the document to FileName; throws Error, leaving it modified.
  void writeDocument(const QByteArray &bytes);
  // Asks before replacing a file that another program changed or removed
  // since it was read or written here; true to go on.
  bool mayReplaceFile();
  void applyPendingOuterSize();
  // Checks `item`, loads its keyword list and ends any completion cycle.
  void selectMode(QAction *item, const QString &keywordFile);
  // True when a window shortcut that can act now is bound to the key.
  bool isMenuShortcut(const QKeyEvent &key) const;
  // The RETURN branch of AppMessage.
  void autoNumberOnReturn(bool &Handled);
  void updateEditActions();

  UserInterface &ui_;
  // A converter is running; the window stays until it ends.
  bool converting_ = false;
  // The document's file as last read or written here.
  FileStamp diskStamp_;
  // The editor's font name as the settings file gave it.
  QString editorFontName_;
  struct OuterGeometry {
    int width = 0;
    int height = 0;
    bool pending = false;
    QSize client; // the size set for the window's inside
  } outer_;
};

// The window's own font, which the menus and the status bar use.
QFont windowFont();
// The editor's font before the settings replace it.
QFont editorDesignFont();

// The main window, set when its construction begins.
extern TForm1 *Form1;

} // namespace kavrin
