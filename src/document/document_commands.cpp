#include "document/document_commands.h"

#include "logic/converter_command.h"
#include "logic/recent_files.h"
#include "logic/settings_table.h"
#include "logic/source_form.h"
#include "platform/cp932.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "widgets/program_editor.h"
#include "widgets/status_bar.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>

namespace kavrin {
namespace {

// The designed filter first, the default; BASIC programs and their source
// form, the types the package registers as ours, next; every file last.
const QString kTextFilter = QStringLiteral("テキスト文書 (*.txt)|*.TXT|BASIC プログラム (*.bas)|*.bas|"
                                           "BASIC ソース (*.bsrc)|*.bsrc|すべてのファイル (*.*)|*.*");

} // namespace

DocumentCommands::DocumentCommands(const FeatureContext &context) : WindowFeature(context) {
  addCommand("new", QStringLiteral("新規作成(&N)"), &DocumentCommands::newDocument, Qt::CTRL | Qt::Key_N);
  addCommand("open", QStringLiteral("開く(&O)..."), &DocumentCommands::open, Qt::CTRL | Qt::Key_O);
  addCommand("save", QStringLiteral("上書き保存(&S)"), &DocumentCommands::save, Qt::CTRL | Qt::Key_S);
  addCommand("saveAs", QStringLiteral("名前をつけて保存(&A)..."), &DocumentCommands::saveAs);
  for (int i = 0; i < kRecentCount; ++i) {
    const QByteArray name = "recent" + QByteArray::number(i + 1);
    recentItems_[i] = addItem(name.constData(), QStringLiteral("&%1").arg(i + 1));
    connectGuarded(recentItems_[i], [this, i] { openRecent(i); });
  }
  connect(addItem("exit", QStringLiteral("終了(&X)")), &QAction::triggered, window(), &QWidget::close);

  openDialog_.filter = kTextFilter;
  session().setDocument(this);
  window()->setAcceptDrops(true);
  window()->installEventFilter(this);
  connect(editor(), &ProgramEditor::filesDropped, this, &DocumentCommands::openDropped);
  // The edits declined are gone once saved or replaced, whatever undo does
  // in between.
  for (const auto signal : {&Session::documentSaved, &Session::documentReplaced}) {
    connect(&session(), signal, this, [this] { declined_ = false; });
  }
  connect(&session(), &Session::formChanged, this, &DocumentCommands::formChanged);
  formChanged();
}

void DocumentCommands::formChanged() {
  const bool source = session().sourceForm();
  context().statusBar->setFormText(source ? QStringLiteral("ソース形式") : QStringLiteral("行番号形式"));
  // A converted document is saved under a name of its new form, asked once.
  const QString &name = session().fileName();
  askName_ = !name.isEmpty() && basic::isSourceFileName(name) != source;
}

void DocumentCommands::setForm(const QString &path) {
  askName_ = false;
  session().setSourceForm(basic::isSourceFileName(path));
}

DocumentCommands::~DocumentCommands() { session().setDocument(nullptr); }

void DocumentCommands::readSettings(const SettingValues &values) {
  recent_ = recentOf(values);
  updateRecentMenu();
}

void DocumentCommands::writeSettings(SettingValues &values) const { setRecent(values, recent_); }

void DocumentCommands::updateTitle() {
  // Qt reads "[*]" in a title as the modified mark; doubled it is shown.
  QString title = documentTitle(session().fileName());
  title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
  window()->setWindowTitle(title);
}

bool DocumentCommands::querySave() {
  if (!editor()->modified()) {
    return true;
  }
  switch (ui().messageBox(window(), QStringLiteral("ファイルの内容が変更されています。変更を保存しますか?"),
                          QStringLiteral("kavrin"), MsgButtons::YesNoCancel, MsgResult::Yes)) {
  case MsgResult::Yes:
    save();
    return !editor()->modified();
  case MsgResult::No:
    declined_ = true;
    return true;
  default:
    return false;
  }
}

bool DocumentCommands::saveChanges() {
  if (declined_) {
    return querySave();
  }
  if (editor()->modified()) {
    save();
  }
  return !editor()->modified();
}

void DocumentCommands::newDocument() {
  if (!querySave()) {
    return;
  }
  editor()->setText(QString());
  editor()->setModified(false);
  session().setFileName(QString());
  setForm({});
  diskStamp_ = {};
  updateTitle();
  emit session().documentReplaced();
}

void DocumentCommands::open() {
  if (querySave() && ui().execOpenDialog(window(), openDialog_)) {
    load(openDialog_.fileName);
  }
}

void DocumentCommands::load(const QString &path) {
  // Read first: a file that cannot be read leaves the document as it was.
  const QByteArray bytes = readFileBytes(path);
  session().setFileName(path);
  diskStamp_ = stampOf(path, bytes);
  editor()->setText(cp932::decode(bytes));
  setForm(path);
  editor()->setModified(false);
  updateTitle();
  addRecent();
  emit session().documentReplaced();
}

void DocumentCommands::openStartFile(const QString &argument) {
  // Named in full: the recent list and a recovery copy must still find it
  // from another folder.
  const QString path = QFileInfo(argument).absoluteFilePath();
  // The recovered text of this very file is newer than the file: it stays.
  // (An older copy may hold a name relative to another folder: no match.)
  const QString recovered = session().fileName();
  if (editor()->modified() && QFileInfo(recovered).isAbsolute() && sameFile(recovered, path)) {
    addRecent();
    return;
  }
  // A recovered document is asked about before the file replaces it; once
  // one is in the window, an error ends only this step, not the program.
  const auto openArgument = [this, &path] {
    if (querySave()) {
      load(path);
    }
  };
  if (editor()->modified()) {
    guard(openArgument);
  } else {
    openArgument();
  }
}

void DocumentCommands::restore(const RecoveryCopy &copy) {
  session().setFileName(copy.fileName);
  // The file as the text's editor last knew it is what a save may replace
  // without a question; a copy that does not say, the file as it is now.
  diskStamp_ = copy.stamp ? *copy.stamp : stampOfFile(copy.fileName);
  editor()->setText(copy.text);
  setForm(copy.fileName);
  if (copy.sourceForm) {
    session().setSourceForm(*copy.sourceForm); // a save then asks for a name of that form
  }
  editor()->setModified(true);
  updateTitle();
  emit session().documentReplaced();
}

QByteArray DocumentCommands::encodedText() {
  const QString text = editor()->rawText();
  cp932::Encoded encoded = cp932::encode(text);
  ProgramEditor &edit = *editor();
  const auto select = [&edit](int at, int length) {
    edit.setSelStart(at);
    edit.setSelLength(length);
    edit.ensureCursorVisible();
  };
  // The first problem in the text is the one reported.
  const qsizetype first = encoded.firstInexact();
  if (first >= 0 && first == encoded.firstMisread) {
    select(static_cast<int>(first), 1);
    throw Error(
        QStringLiteral("保存すると、次に開いたときに別の文字に変わってしまうバイトが %1 行目にあります。\n"
                       "そのバイトの記号を選択しました。"
                       "書き換えるか削除してから保存してください。")
            .arg(edit.textCursor().blockNumber() + 1));
  }
  if (first >= 0) {
    const char32_t code = cp932::characterAt(text, first);
    select(static_cast<int>(first), code > 0xFFFF ? 2 : 1);
    // The machine shows 0x5C and 0x7E as ¥ and ‾: the check's fix writes
    // those.  The bytes are named, as a Japanese font draws 0x5C as ¥ too.
    const bool fixable = (code == U'¥' || code == U'‾') &&
                         session().preferences().check.enabled(basic::checkRule("YenOverline"));
    const QString fix = fixable ? QStringLiteral("\n特別 > プログラムの検査 で [¥‾] の行を選び、"
                                                 "すべて修正 (Ctrl+Shift+.) を使うと、"
                                                 "¥ を 0x5C の文字に、‾ を 0x7E の文字に直せます。"
                                                 "実機ではそれぞれ ¥ と ‾ に見えます。")
                                : QString();
    throw Error(QStringLiteral("Shift-JIS で保存できない文字が %1 個あります。\n"
                               "最初の文字%2 を選択しました。"
                               "この文字を書き換えてから保存してください。")
                    .arg(encoded.unencodableCount)
                    .arg(cp932::namedCharacter(code)) +
                fix);
  }
  return std::move(encoded.bytes);
}

bool DocumentCommands::chooseSavePath() {
  // The dialog is shared with Convert, which leaves its own filter and title.
  FileDialog &dialog = session().saveDialog();
  dialog.filter = kTextFilter;
  dialog.title.clear();
  // The name it proposes may be the tape image's, or a file clicked in the
  // list: the program is not written over another file unasked.
  dialog.askBeforeReplacing = true;
  // The source form is proposed as .bsrc, the numbered program as it was
  // named, or .bas where it was a source.
  const bool source = session().sourceForm();
  const QString &name = session().fileName();
  dialog.defaultExt = source ? basic::kSourceExtension.mid(1).toString() : QString();
  if (!name.isEmpty() && (source || basic::isSourceFileName(name))) {
    dialog.fileName = withExtension(name, source ? basic::kSourceExtension : QStringView(u".bas"));
    // with the filter of the name proposed
    dialog.defaultExt = QFileInfo(dialog.fileName).suffix();
  }
  return ui().execSaveDialog(window(), dialog);
}

void DocumentCommands::rename(const QString &path) {
  session().setFileName(path);
  askName_ = false;
  if (basic::isSourceFileName(path)) {
    session().setSourceForm(true);
  }
  diskStamp_ = stampOfFile(path);
  emit session().documentReplaced(); // a Save As forgets what the old name had
}

void DocumentCommands::save() {
  // Text that Shift-JIS cannot hold is reported before anything else.
  const QByteArray bytes = encodedText();
  if (session().fileName().isEmpty() || askName_) {
    if (!chooseSavePath()) {
      return;
    }
    rename(session().saveDialog().fileName);
    updateTitle();
  } else if (!mayReplaceFile()) {
    return;
  }
  writeDocument(bytes);
  addRecent();
}

void DocumentCommands::saveAs() {
  const QByteArray bytes = encodedText();
  if (!chooseSavePath()) {
    return;
  }
  rename(session().saveDialog().fileName);
  writeDocument(bytes);
  updateTitle();
  addRecent();
}

void DocumentCommands::writeDocument(const QByteArray &bytes) {
  const QString unsynced = writeFileAtomically(session().fileName(), bytes);
  diskStamp_ = stampOf(session().fileName(), bytes);
  editor()->setModified(false);
  emit session().documentSaved();
  if (!unsynced.isEmpty()) {
    showMessage(ui(), window(),
                QStringLiteral(
                    "ファイル \"%1\" は保存しましたが、フォルダの更新をディスクに書き込めませんでした。\n%2\n"
                    "停電などがあると、保存する前の内容に戻ることがあります。")
                    .arg(QDir::toNativeSeparators(session().fileName()), unsynced));
  }
}

bool DocumentCommands::mayReplaceFile() {
  QString question;
  switch (changeSince(session().fileName(), diskStamp_)) {
  case DiskChange::None:
    return true;
  case DiskChange::Changed:
    question = QStringLiteral("ファイル \"%1\" は、読み込んだ後にほかのプログラムによって変更されています。\n"
                              "上書きすると、その変更は失われます。上書き保存しますか?");
    break;
  case DiskChange::Removed:
    question = QStringLiteral("ファイル \"%1\" は、読み込んだ後に削除されたか、名前が変わっています。\n"
                              "この名前で保存しますか?");
    break;
  }
  return ui().messageBox(window(), question.arg(QDir::toNativeSeparators(session().fileName())),
                         QStringLiteral("kavrin"), MsgButtons::YesNo, MsgResult::No) == MsgResult::Yes;
}

void DocumentCommands::addRecent() {
  const QStringList before = recent_;
  kavrin::addRecent(recent_, session().fileName());
  updateRecentMenu();
  if (recent_ != before) {
    settingChanged(); // the recent list is kept in the settings file
  }
}

void DocumentCommands::updateRecentMenu() {
  for (int i = 0; i < kRecentCount; ++i) {
    const RecentMenuItem shown = recentMenuItem(i, recent_.value(i));
    recentItems_[i]->setVisible(shown.visible);
    if (shown.caption) {
      recentItems_[i]->setText(*shown.caption);
      recentItems_[i]->setEnabled(shown.enabled);
    }
  }
}

void DocumentCommands::openRecent(int index) {
  const QString path = recent_.value(index);
  if (!QFileInfo::exists(path)) {
    message(QStringLiteral("ファイルが見つかりません"));
    return;
  }
  if (querySave()) {
    load(path);
  }
}

void DocumentCommands::openDropped(const QStringList &paths) {
  if (paths.isEmpty()) {
    return;
  }
  // The prompt and the load run after the drop has ended, so that no modal
  // box holds up the program the files came from.
  const QString first = paths.first();
  QTimer::singleShot(0, this, [this, first] {
    guard([this, &first] {
      if (querySave()) {
        load(first);
      }
    });
  });
}

bool DocumentCommands::eventFilter(QObject *watched, QEvent *event) {
  const QEvent::Type type = event->type();
  if (watched != window() ||
      (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)) {
    return WindowFeature::eventFilter(watched, event);
  }
  auto *drop = static_cast<QDropEvent *>(event);
  const QStringList files = localFiles(drop->mimeData());
  if (files.isEmpty()) {
    return false;
  }
  drop->acceptProposedAction();
  if (type == QEvent::Drop) {
    openDropped(files);
  }
  return true;
}

} // namespace kavrin
