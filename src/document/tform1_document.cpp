// The document commands of the main window: new, open, save, the
// unsaved-changes prompt, the title and the recent files.
#include "app/tform1.h"
#include "app/window_feature.h"
#include "document/recent_files.h"
#include "platform/cp932.h"
#include "platform/error.h"
#include "platform/text_file.h"
#include "widgets/rich_edit.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

namespace kavrin {
namespace {

const QString kTextFilter = QStringLiteral("テキスト文書 (*.txt)|*.TXT|すべてのファイル (*.*)|*.*");

} // namespace

void TForm1::UpdateTitle() {
  // Qt reads "[*]" in a title as the modified mark; doubled it is shown.
  QString title = documentTitle(FileName);
  title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
  setWindowTitle(title);
}

bool TForm1::QuerySave() {
  if (!RichEdit1->modified()) {
    return true;
  }
  switch (ui_.messageBox(this, QStringLiteral("ファイルの内容が変更されています。変更を保存しますか?"),
                         QStringLiteral("kavrin"), MsgButtons::YesNoCancel, MsgResult::Yes)) {
  case MsgResult::Yes:
    Save1Click();
    return !RichEdit1->modified();
  case MsgResult::No:
    return true;
  default:
    return false;
  }
}

void TForm1::New1Click() {
  if (!QuerySave()) {
    return;
  }
  RichEdit1->setText(QString());
  RichEdit1->setModified(false);
  FileName.clear();
  diskStamp_ = {};
  UpdateTitle();
}

void TForm1::Open1Click() {
  if (!QuerySave()) {
    return;
  }
  if (!ui_.execOpenDialog(this, OpenDialog1)) {
    return;
  }
  LoadFile(OpenDialog1.fileName);
}

void TForm1::LoadFile(const QString &path) {
  // Read first: a file that cannot be read leaves the document as it was.
  const QByteArray bytes = readFileBytes(path);
  FileName = path;
  diskStamp_ = stampOf(path, bytes);
  RichEdit1->setText(cp932::decode(bytes));
  RichEdit1->setModified(false);
  UpdateTitle();
  AddRecent();
}

void TForm1::restoreDocument(const QString &fileName, const QString &text) {
  FileName = fileName;
  // The file as it is now is what a save may replace without a question.
  diskStamp_ = stampOfFile(fileName);
  RichEdit1->setText(text);
  RichEdit1->setModified(true);
  UpdateTitle();
}

QByteArray TForm1::encodedText() {
  cp932::Encoded encoded = cp932::encode(RichEdit1->rawText());
  const auto select = [this](int at, int length) {
    RichEdit1->setSelStart(at);
    RichEdit1->setSelLength(length);
    RichEdit1->ensureCursorVisible();
  };
  // The first problem in the text is the one reported.
  const qsizetype misread = encoded.firstMisread;
  if (misread >= 0 && (encoded.ok() || misread < encoded.firstUnencodable)) {
    select(static_cast<int>(misread), 1);
    throw Error(
        QStringLiteral("保存すると、次に開いたときに別の文字に変わってしまうバイトが %1 行目にあります。\n"
                       "そのバイトの記号を選択しました。"
                       "書き換えるか削除してから保存してください。")
            .arg(RichEdit1->textCursor().blockNumber() + 1));
  }
  if (!encoded.ok()) {
    const int at = static_cast<int>(encoded.firstUnencodable);
    const QChar first = RichEdit1->charAt(at);
    const bool pair = first.isHighSurrogate() && RichEdit1->charAt(at + 1).isLowSurrogate();
    select(at, pair ? 2 : 1);
    const char32_t code = pair ? QChar::surrogateToUcs4(first, RichEdit1->charAt(at + 1)) : first.unicode();
    throw Error(QStringLiteral("シフトJISで保存できない文字が %1 個あります。\n"
                               "最初の文字「%2」(U+%3) を選択しました。"
                               "この文字を書き換えてから保存してください。")
                    .arg(encoded.unencodableCount)
                    .arg(QString::fromUcs4(&code, 1),
                         QString::number(static_cast<uint>(code), 16).toUpper().rightJustified(4, u'0')));
  }
  return std::move(encoded.bytes);
}

bool TForm1::chooseSavePath() {
  // The dialog is shared with Convert, which leaves its own filter and title.
  SaveDialog1.filter = kTextFilter;
  SaveDialog1.title.clear();
  return ui_.execSaveDialog(this, SaveDialog1);
}

void TForm1::Save1Click() {
  // Text that Shift-JIS cannot hold is reported before anything else.
  const QByteArray bytes = encodedText();
  if (FileName.isEmpty()) {
    if (!chooseSavePath()) {
      return;
    }
    FileName = SaveDialog1.fileName;
    // The file chosen in the dialog is the one to replace, as it is now.
    diskStamp_ = stampOfFile(FileName);
    UpdateTitle();
  } else if (!mayReplaceFile()) {
    return;
  }
  writeDocument(bytes);
  AddRecent();
}

void TForm1::SaveAs1Click() {
  const QByteArray bytes = encodedText();
  if (!chooseSavePath()) {
    return;
  }
  FileName = SaveDialog1.fileName;
  diskStamp_ = stampOfFile(FileName);
  writeDocument(bytes);
  UpdateTitle();
  AddRecent();
}

void TForm1::writeDocument(const QByteArray &bytes) {
  writeFileAtomically(FileName, bytes);
  diskStamp_ = stampOf(FileName, bytes);
  RichEdit1->setModified(false);
  for (WindowFeature *feature : features()) {
    feature->documentSaved();
  }
}

bool TForm1::mayReplaceFile() {
  QString question;
  switch (changeSince(FileName, diskStamp_)) {
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
  return ui_.messageBox(this, question.arg(QDir::toNativeSeparators(FileName)), QStringLiteral("kavrin"),
                        MsgButtons::YesNo, MsgResult::No) == MsgResult::Yes;
}

void TForm1::AddRecent() {
  addRecent(RecentFiles, FileName);
  UpdateRecentMenu();
}

void TForm1::UpdateRecentMenu() {
  const std::array<QAction *, 4> items{Recent1, Recent2, Recent3, Recent4};
  for (int i = 0; i < kRecentCount; ++i) {
    const RecentMenuItem shown = recentMenuItem(i, RecentFiles.value(i));
    items[i]->setVisible(shown.visible);
    if (shown.caption) {
      items[i]->setText(*shown.caption);
      items[i]->setEnabled(shown.enabled);
    }
  }
}

void TForm1::OpenRecent(int index) {
  const QString path = RecentFiles.value(index);
  if (!QFileInfo::exists(path)) {
    showMessage(ui_, this, QStringLiteral("ファイルが見つかりません"));
    return;
  }
  if (!QuerySave()) {
    return;
  }
  LoadFile(path);
}

} // namespace kavrin
