#include "editing/format_commands.h"

#include "logic/keyword_palette.h"
#include "logic/settings_table.h"
#include "platform/fonts.h"
#include "widgets/program_editor.h"

#include <QAction>
#include <QApplication>

#include <cstdint>
#include <functional>

namespace kavrin {
namespace {

// Colours are stored as the signed reading of their 32 bits.
TColor toColor(int stored) { return static_cast<TColor>(static_cast<std::uint32_t>(stored)); }
int storedColor(TColor color) { return static_cast<std::int32_t>(color); }

// The editor's font by the name the settings give it, as its installed
// substitute: asking Qt for a missing face makes it search every font.
QFont editorFont(const QFont &base, const QString &name, int points, bool bold, bool italic) {
  QFont font = base;
  font.setFamily(installedFamily(name));
  if (points > 0) {
    font.setPointSize(points);
  }
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

int pointSizeOf(const QFont &font, const QWidget *widget) {
  if (font.pointSize() > 0) {
    return font.pointSize();
  }
  return qRound(font.pixelSize() * 72.0 / widget->logicalDpiY());
}

} // namespace

FormatCommands::FormatCommands(const FeatureContext &context) : WindowFeature(context) {
  wrap_ = addItem("wordWrap", QStringLiteral("右端で折り返す(&W)"));
  wrap_->setCheckable(true);
  connect(wrap_, &QAction::triggered, this, &FormatCommands::applyWordWrap);
  connect(wrap_, &QAction::triggered, this, &FormatCommands::settingChanged);
  addCommand("font", QStringLiteral("フォント(&F)..."), &FormatCommands::chooseFont);
  addCommand("background", QStringLiteral("背景色(&B)..."), &FormatCommands::chooseBackground);
  fontDialog_.font = windowFont();
  addZoomKeys();
}

// The zoom keys, in no menu.  Where "+" needs Shift, Ctrl+; or Ctrl+= (the
// key "+" is on, without Shift) zooms in as Ctrl++ does.
void FormatCommands::addZoomKeys() {
  ProgramEditor *edit = editor();
  const struct {
    const char *name;
    const char *caption;
    QList<QKeySequence> keys;
    std::function<void()> zoom;
  } keys[] = {
      {"zoomIn",
       "拡大",
       {Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Semicolon, Qt::CTRL | Qt::Key_Equal},
       [edit] { edit->zoom(true); }},
      {"zoomOut", "縮小", {Qt::CTRL | Qt::Key_Minus}, [edit] { edit->zoom(false); }},
      {"zoomReset", "元のサイズ", {Qt::CTRL | Qt::Key_0}, [edit] { edit->resetZoom(); }},
  };
  for (const auto &key : keys) {
    QAction *item = addItem(key.name, QString::fromUtf8(key.caption));
    item->setShortcuts(key.keys);
    connect(item, &QAction::triggered, edit, key.zoom);
    window()->addAction(item);
  }
}

void FormatCommands::readSettings(const SettingValues &values) {
  ProgramEditor &edit = *editor();
  wrap_->setChecked(values.number(Setting::Wrap) != 0);
  applyWordWrap();
  edit.setColor(toColor(values.number(Setting::BackColor)));
  fontName_ = values.text(Setting::FontName);
  edit.setChosenFont(editorFont(editorDesignFont(), fontName_, values.number(Setting::FontSize),
                                values.number(Setting::FontBold) != 0,
                                values.number(Setting::FontItalic) != 0));
  edit.setFontColor(toColor(values.number(Setting::FontColor)));
  edit.setModified(false);
}

void FormatCommands::writeSettings(SettingValues &values) const {
  const ProgramEditor &edit = *editor();
  values.set(Setting::Wrap, wrap_->isChecked() ? 1 : 0);
  values.set(Setting::BackColor, storedColor(edit.color()));
  const QFont font = edit.chosenFont(); // never the zoom
  // The name read comes back unchanged while the face is still the one it
  // stands for.
  const bool sameFace = installedFamily(fontName_).compare(font.family(), Qt::CaseInsensitive) == 0;
  values.set(Setting::FontName, sameFace ? fontName_ : font.family());
  values.set(Setting::FontSize, pointSizeOf(font, &edit));
  values.set(Setting::FontColor, storedColor(edit.fontColor()));
  values.set(Setting::FontBold, font.bold() ? 1 : 0);
  values.set(Setting::FontItalic, font.italic() ? 1 : 0);
}

void FormatCommands::applyWordWrap() {
  ProgramEditor &edit = *editor();
  if (wrap_->isChecked()) {
    edit.setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  } else {
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit.setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  }
  edit.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void FormatCommands::chooseFont() {
  fontDialog_.font = editor()->chosenFont();
  const TColor before = editor()->fontColor();
  fontDialog_.color = before;
  if (ui().execFontDialog(window(), fontDialog_)) {
    editor()->setChosenFont(fontDialog_.font);
    editor()->setFontColor(fontDialog_.color);
    if (fontDialog_.color != before) {
      keepTextReadable();
    }
    settingChanged();
  }
}

void FormatCommands::chooseBackground() {
  const TColor before = editor()->color();
  colorDialog_ = before;
  if (ui().execColorDialog(window(), colorDialog_)) {
    editor()->setColor(colorDialog_);
    if (colorDialog_ != before) {
      keepTextReadable();
    }
    settingChanged();
  }
}

// A text colour that hardly shows on the background is changed to black or
// white, whichever reads better, if the user wants.
void FormatCommands::keepTextReadable() {
  const QPalette &palette = QApplication::palette();
  const QColor background = toQColor(editor()->color(), palette);
  if (readsOn(toQColor(editor()->fontColor(), palette), background) ||
      ui().messageBox(window(), QStringLiteral("文字が読みにくくなります。文字色を変えますか?"),
                      QStringLiteral("kavrin"), MsgButtons::YesNo, MsgResult::Yes) != MsgResult::Yes) {
    return;
  }
  editor()->setFontColor(fromQColor(blackOrWhiteOn(background)));
}

} // namespace kavrin
