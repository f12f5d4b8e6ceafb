#include "app/tform1.h"

#include "app/window_feature.h"
#include "document/recovery.h"
#include "platform/error.h"
#include "platform/fonts.h"
#include "settings/function_keys.h"
#include "settings/settings_file.h"
#include "widgets/rich_edit.h"
#include "widgets/status_bar.h"

#include <QActionGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>

#include <vector>

namespace kavrin {

TForm1 *Form1 = nullptr;

namespace {

constexpr int kDesignLeft = 192;
constexpr int kDesignTop = 107;
constexpr int kDesignWidth = 544;
constexpr int kDesignHeight = 375;

} // namespace

QFont windowFont() { return pixelFont(QStringLiteral("ＭＳ Ｐゴシック"), 12); }

QFont editorDesignFont() { return pixelFont(QStringLiteral("ＭＳ ゴシック"), 13); }

ProgramPaths ProgramPaths::ofThisProgram() {
  const QString exeDir = QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + u'/');
  return {exeDir, settingsFilePath(exeDir), defaultRecoveryFolder()};
}

TForm1::TForm1(UserInterface &ui, const QStringList &args, const ProgramPaths &paths, QWidget *parent)
    : QMainWindow(parent), ui_(ui) {
  Form1 = this;
  createComponents();
  createMenus();
  connectHandlers();
  createFeatures(paths.stateDir);

  FunctionKeys = defaultFunctionKeys();
  ExeDir = paths.exeDir;
  IniFile = paths.iniFile;
  FileName.clear();
  Keywords.clear();
  readSettings();
  RichEdit1->installEventFilter(this);

  OpenDialog1.filter = QStringLiteral("テキスト文書 (*.txt)|*.TXT|すべてのファイル (*.*)|*.*");

  InsertMode = true;
  ShiftDown = false;
  RichEdit1->setOverwriteMode(false);
  LayoutStatusPanels();
  UpdateLegend();
  for (WindowFeature *feature : features()) {
    feature->started();
  }

  if (args.isEmpty()) {
    return;
  }
  // A recovered document is asked about before the file replaces it; once
  // one is in the window, an error ends only this step, not the program.
  const auto openArgument = [this, &args] {
    if (QuerySave()) {
      LoadFile(args.first());
    }
  };
  if (RichEdit1->modified()) {
    guard(openArgument);
  } else {
    openArgument();
  }
}

TForm1::~TForm1() {
  // The features lean on the editor: they go while it is still there.
  qDeleteAll(features());
  if (Form1 == this) {
    Form1 = nullptr;
  }
}

void TForm1::createComponents() {
  setWindowTitle(QStringLiteral("kavrin"));
  setFont(windowFont());
  setAcceptDrops(true);
  setOuterGeometry(kDesignLeft, kDesignTop, kDesignWidth, kDesignHeight);

  RichEdit1 = new RichEdit(this);
  RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
  // The editor's form font is only the base of the saved font that the
  // settings set at once; loading it as well would cost start-up time.
  setCentralWidget(RichEdit1);
  RichEdit1->setFocus();

  StatusBar1 = new PanelStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  setStatusBar(StatusBar1);

  FontDialog1.font = windowFont();
}

namespace {

// The menus in the order of the menu bar.  A separator has no caption;
// every shortcut is Ctrl and a letter.
struct MenuItem {
  QAction *TForm1::*action;
  const char16_t *caption;
  Qt::Key ctrlKey = Qt::Key(0);
};

struct MenuColumn {
  QMenu *TForm1::*menu;
  const char16_t *caption;
  std::vector<MenuItem> items;
};

const MenuColumn kMenus[] = {
    {&TForm1::File1,
     u"ファイル(&F)",
     {{&TForm1::New1, u"新規作成(&N)", Qt::Key_N},
      {&TForm1::Open1, u"開く(&O)...", Qt::Key_O},
      {&TForm1::Save1, u"上書き保存(&S)", Qt::Key_S},
      {&TForm1::SaveAs1, u"名前をつけて保存(&A)..."},
      {&TForm1::N1, nullptr},
      {&TForm1::Recent1, u"&1"},
      {&TForm1::Recent2, u"&2"},
      {&TForm1::Recent3, u"&3"},
      {&TForm1::Recent4, u"&4"},
      {&TForm1::N2, nullptr},
      {&TForm1::Exit1, u"終了(&X)"}}},
    {&TForm1::Edit1,
     u"編集(&E)",
     {{&TForm1::Undo1, u"元に戻す(&U)", Qt::Key_Z},
      {&TForm1::N3, nullptr},
      {&TForm1::EditCut1, u"切り取り(&T)", Qt::Key_X},
      {&TForm1::EditCopy1, u"コピー(&C)", Qt::Key_C},
      {&TForm1::EditPaste1, u"貼り付け(&P)", Qt::Key_V},
      {&TForm1::SelectAll1, u"すべて選択(&A)", Qt::Key_A},
      {&TForm1::N4, nullptr},
      {&TForm1::Find1, u"検索(&F)...", Qt::Key_F},
      {&TForm1::N5, nullptr},
      {&TForm1::Option1, u"設定(&O)..."}}},
    {&TForm1::Format1,
     u"書式(&O)",
     {{&TForm1::Wrap1, u"右端で折り返す(&W)"},
      {&TForm1::Font1, u"フォント(&F)..."},
      {&TForm1::Back1, u"背景色(&B)..."}}},
    {&TForm1::Special1,
     u"特別(&S)",
     {{&TForm1::AUTO1, u"AUTO(&A)"},
      {&TForm1::Trans6, u"変換(&T)..."},
      {&TForm1::N6, nullptr},
      {&TForm1::Mode5, u"モード1-5(&5)"},
      {&TForm1::Mode6, u"モード6(&6)"}}},
};

} // namespace

void TForm1::createMenus() {
  MainMenu1 = menuBar();
  for (const MenuColumn &m : kMenus) {
    QMenu *menu = this->*m.menu = MainMenu1->addMenu(QString::fromUtf16(m.caption));
    for (const MenuItem &item : m.items) {
      QAction *action = this->*item.action = item.caption == nullptr
                                                 ? menu->addSeparator()
                                                 : menu->addAction(QString::fromUtf16(item.caption));
      if (item.ctrlKey != Qt::Key(0)) {
        action->setShortcut(QKeySequence(Qt::CTRL | item.ctrlKey));
      }
    }
  }
  EditCut1->setStatusTip(QStringLiteral("切り取り"));
  EditCopy1->setStatusTip(QStringLiteral("コピー"));
  EditPaste1->setStatusTip(QStringLiteral("貼り付け"));
  Cut1 = EditCut1;
  Copy1 = EditCopy1;
  Paste1 = EditPaste1;
  ModeGroup = new QActionGroup(this);
  ModeGroup->setExclusive(true);
  for (QAction *checkable : {Wrap1, AUTO1, Mode5, Mode6}) {
    checkable->setCheckable(true);
  }
  for (QAction *mode : {Mode5, Mode6}) {
    ModeGroup->addAction(mode);
  }
  AUTO1->setChecked(true);
  Mode5->setChecked(true);
}

void TForm1::connectHandlers() {
  const auto on = [this](QAction *action, void (TForm1::*handler)()) {
    connect(action, &QAction::triggered, this,
            [this, handler] { guard([this, handler] { (this->*handler)(); }); });
  };
  on(New1, &TForm1::New1Click);
  on(Open1, &TForm1::Open1Click);
  on(Save1, &TForm1::Save1Click);
  on(SaveAs1, &TForm1::SaveAs1Click);
  on(Exit1, &TForm1::Exit1Click);
  const std::array<QAction *, 4> recent{Recent1, Recent2, Recent3, Recent4};
  for (int i = 0; i < 4; ++i) {
    connect(recent[i], &QAction::triggered, this, [this, i] { guard([this, i] { OpenRecent(i); }); });
  }
  on(Undo1, &TForm1::Undo1Click);
  on(SelectAll1, &TForm1::SelectAll1Click);
  on(Font1, &TForm1::Font1Click);
  on(Back1, &TForm1::Back1Click);
  on(Mode5, &TForm1::Mode5Click);
  on(Mode6, &TForm1::Mode6Click);
  on(Trans6, &TForm1::Trans6Click);
  on(Find1, &TForm1::Find1Click);
  on(Option1, &TForm1::Option1Click);
  // A checkable item has toggled itself when it reports the click; the
  // handler does the toggling.
  const auto toggle = [this](QAction *action, void (TForm1::*handler)()) {
    connect(action, &QAction::triggered, this, [this, action, handler] {
      action->setChecked(!action->isChecked());
      (this->*handler)();
    });
  };
  toggle(Wrap1, &TForm1::Wrap1Click);
  toggle(AUTO1, &TForm1::AUTO1Click);
  connect(EditCut1, &QAction::triggered, RichEdit1, &QPlainTextEdit::cut);
  connect(EditCopy1, &QAction::triggered, RichEdit1, &QPlainTextEdit::copy);
  connect(EditPaste1, &QAction::triggered, RichEdit1, &QPlainTextEdit::paste);
  connect(RichEdit1, &QPlainTextEdit::copyAvailable, this, &TForm1::updateEditActions);
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TForm1::updateEditActions);
  connect(Edit1, &QMenu::aboutToShow, this, &TForm1::updateEditActions);
  updateEditActions();
  connect(RichEdit1, &RichEdit::filesDropped, this, &TForm1::WMDropFiles);
}

void TForm1::guard(const std::function<void()> &command) {
  try {
    command();
  } catch (const Error &e) {
    showMessage(ui_, this, e.message());
  }
}

void TForm1::FormResize() { LayoutStatusPanels(); }

void TForm1::LayoutStatusPanels() {
  const int width = frameGeometry().width() / PanelStatusBar::kPanelCount;
  for (int i = 0; i < PanelStatusBar::kPanelCount; ++i) {
    StatusBar1->setPanelWidth(i, width);
  }
}

void TForm1::Exit1Click() { close(); }

void TForm1::WMDropFiles(const QStringList &paths) {
  if (paths.isEmpty()) {
    return;
  }
  // The prompt and the load run after the drop has ended, so that no modal
  // box holds up the program the files came from.
  const QString first = paths.first();
  QTimer::singleShot(0, this, [this, first] {
    guard([this, &first] {
      if (QuerySave()) {
        LoadFile(first);
      }
    });
  });
}

void TForm1::setOuterGeometry(int left, int top, int width, int height) {
  const QRect frame = frameGeometry();
  const QRect client = geometry();
  const int frameWidth = frame.width() - client.width();
  const int frameHeight = frame.height() - client.height();
  const QSize inside(std::max(1, width - frameWidth), std::max(1, height - frameHeight));
  resize(inside);
  move(left, top);
  outer_ = {width, height, !isVisible() || (frameWidth == 0 && frameHeight == 0), inside};
}

QRect TForm1::outerGeometry() const {
  const QRect frame = frameGeometry();
  // Until a frame is known the size set stands, unless the window has been
  // resized since.
  return outer_.pending && size() == outer_.client
             ? QRect(frame.topLeft(), QSize(outer_.width, outer_.height))
             : frame;
}

void TForm1::applyPendingOuterSize() {
  if (!outer_.pending || !isVisible()) {
    return;
  }
  const int frameWidth = frameGeometry().width() - geometry().width();
  const int frameHeight = frameGeometry().height() - geometry().height();
  if (frameWidth == 0 && frameHeight == 0) {
    return; // no frame reported (yet)
  }
  outer_.pending = false;
  resize(std::max(1, outer_.width - frameWidth), std::max(1, outer_.height - frameHeight));
}

void TForm1::showEvent(QShowEvent *event) {
  QMainWindow::showEvent(event);
  applyPendingOuterSize();
}

void TForm1::resizeEvent(QResizeEvent *event) {
  QMainWindow::resizeEvent(event);
  applyPendingOuterSize();
  FormResize();
}

void TForm1::moveEvent(QMoveEvent *event) {
  QMainWindow::moveEvent(event);
  // Window managers report the frame around the time they move the window.
  applyPendingOuterSize();
  LayoutStatusPanels();
}

void TForm1::closeEvent(QCloseEvent *event) {
  if (converting_) {
    event->ignore();
    return;
  }
  bool allow = false;
  guard([this, &allow] { allow = FormClose(); });
  if (allow) {
    event->accept();
  } else {
    event->ignore();
  }
}

void TForm1::dragEnterEvent(QDragEnterEvent *event) {
  if (!localFiles(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
  }
}

void TForm1::dragMoveEvent(QDragMoveEvent *event) {
  if (!localFiles(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
  }
}

void TForm1::dropEvent(QDropEvent *event) {
  const QStringList files = localFiles(event->mimeData());
  if (!files.isEmpty()) {
    event->acceptProposedAction();
    WMDropFiles(files);
  }
}

} // namespace kavrin
