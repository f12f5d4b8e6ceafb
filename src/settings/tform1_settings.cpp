// Reading the settings during construction and writing them at the close.

#include "app/tform1.h"
#include "app/window_feature.h"
#include "platform/error.h"
#include "platform/fonts.h"
#include "platform/profile.h"
#include "settings/function_keys.h"
#include "settings/settings_file.h"
#include "settings/settings_table.h"
#include "widgets/rich_edit.h"
#include "widgets/tform2.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>

#include <cstdint>

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

void TForm1::readSettings() {
  const SettingValues v = SettingValues::read(Profile::load(IniFile));

  if (v.number(Setting::Mode) == 5) {
    Mode5Click();
  } else {
    Mode6Click();
  }
  for (int i = 0; i < 10; ++i) {
    FunctionKeys[i] = ConvertKeyText(unframeKeyText(v.text(functionKeySetting(i))), false);
  }
  AutoAdd = v.number(Setting::AutoAdd);
  AUTO1->setChecked(v.number(Setting::AutoFlag) != 0);
  ConvProg = v.text(Setting::ConvProg);
  Wrap1->setChecked(v.number(Setting::Wrap) != 0);
  ApplyWordWrap();
  RichEdit1->setColor(toColor(v.number(Setting::BackColor)));
  editorFontName_ = v.text(Setting::FontName);
  RichEdit1->setFont(editorFont(editorDesignFont(), editorFontName_, v.number(Setting::FontSize),
                                v.number(Setting::FontBold) != 0, v.number(Setting::FontItalic) != 0));
  RichEdit1->setFontColor(toColor(v.number(Setting::FontColor)));
  RichEdit1->setModified(false);

  QRect outer(v.number(Setting::Left), v.number(Setting::Top), v.number(Setting::Width),
              v.number(Setting::Height));
  if (const QScreen *primary = QGuiApplication::primaryScreen()) {
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens()) {
      screens << screen->availableGeometry();
    }
    outer = keepOnScreen(outer, screens, primary->availableGeometry());
  }
  setOuterGeometry(outer.left(), outer.top(), outer.width(), outer.height());

  RecentFiles.clear();
  for (int i = 0; i < 4; ++i) {
    RecentFiles << v.text(recentSetting(i));
  }
  UpdateRecentMenu();
  for (WindowFeature *feature : features()) {
    feature->readSettings(v);
  }
}

void TForm1::Option1Click() {
  // Made on first use and kept: building it at start-up would cost a fifth
  // of the time to the first window.
  if (Form2 == nullptr) {
    new TForm2(*this);
  }
  ui().execModal(*Form2);
}

bool TForm1::FormClose() {
  if (!QuerySave()) {
    return false;
  }
  for (WindowFeature *feature : features()) {
    feature->closing();
  }
  SettingValues v;
  for (int i = 0; i < 10; ++i) {
    v.set(functionKeySetting(i), frameKeyText(ConvertKeyText(FunctionKeys[i], true)));
  }
  v.set(Setting::Mode, Mode5->isChecked() ? 5 : 6);
  v.set(Setting::AutoAdd, AutoAdd);
  v.set(Setting::AutoFlag, AUTO1->isChecked() ? 1 : 0);
  v.set(Setting::ConvProg, ConvProg);
  v.set(Setting::Wrap, Wrap1->isChecked() ? 1 : 0);
  v.set(Setting::BackColor, storedColor(RichEdit1->color()));
  const QFont font = RichEdit1->font();
  // The name read comes back unchanged while the face is still the one it
  // stands for.
  const bool sameFace = installedFamily(editorFontName_).compare(font.family(), Qt::CaseInsensitive) == 0;
  v.set(Setting::FontName, sameFace ? editorFontName_ : font.family());
  v.set(Setting::FontSize, pointSizeOf(font, RichEdit1));
  v.set(Setting::FontColor, storedColor(RichEdit1->fontColor()));
  v.set(Setting::FontBold, font.bold() ? 1 : 0);
  v.set(Setting::FontItalic, font.italic() ? 1 : 0);
  const QRect outer = outerGeometry();
  v.set(Setting::Width, outer.width());
  v.set(Setting::Height, outer.height());
  v.set(Setting::Top, outer.top());
  v.set(Setting::Left, outer.left());
  for (int i = 0; i < 4; ++i) {
    v.set(recentSetting(i), RecentFiles.value(i));
  }
  for (const WindowFeature *feature : features()) {
    feature->writeSettings(v);
  }
  // Every key goes into the file in one replace, so that an interrupted
  // close leaves the previous file whole.
  Profile ini = Profile::load(IniFile);
  v.write(ini);
  try {
    ini.save(IniFile);
  } catch (const Error &e) {
    // It does not hold up the close, but nobody is left thinking they were kept.
    showMessage(ui_, this,
                QStringLiteral("設定を保存できませんでした。今回の設定の変更は失われます。\n") + e.message());
  }
  return true;
}

} // namespace kavrin
