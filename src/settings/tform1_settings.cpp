// Reading the settings during construction and writing them at the close.

#include "app/tform1.h"
#include "platform/error.h"
#include "platform/fonts.h"
#include "platform/profile.h"
#include "widgets/rich_edit.h"
#include "settings/function_keys.h"
#include "settings/settings_file.h"
#include "widgets/tform2.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>

#include <cstdint>

namespace kavrin {
namespace {

const QString kFunctionKey = QStringLiteral("FunctionKey");
const QString kMode = QStringLiteral("Mode");
const QString kAuto = QStringLiteral("Auto");
const QString kConvert = QStringLiteral("Convert");
const QString kFormat = QStringLiteral("Format");
const QString kWindow = QStringLiteral("Window");
const QString kRecent = QStringLiteral("Recent");

QString functionKeyName(int index) { return QStringLiteral("F%1").arg(index + 1); }

// Colours are stored as the signed reading of their 32 bits.
TColor toColor(int stored) { return static_cast<TColor>(static_cast<std::uint32_t>(stored)); }
QString storedColor(TColor color) { return QString::number(static_cast<std::int32_t>(color)); }

QString storedSwitch(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

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
  const Profile ini = Profile::load(IniFile);

  if (ini.readInt(kMode, kMode, 5) == 5) {
    Mode5Click();
  } else {
    Mode6Click();
  }

  const std::array<QString, 10> stored = defaultStoredFunctionKeys();
  for (int i = 0; i < 10; ++i) {
    FunctionKeys[i] =
        ConvertKeyText(unframeKeyText(ini.readString(kFunctionKey, functionKeyName(i), stored[i])), false);
  }
  AutoAdd = ini.readInt(kAuto, QStringLiteral("AutoAdd"), 10);
  AUTO1->setChecked(ini.readInt(kAuto, QStringLiteral("AutoFlag"), 1) != 0);
  ConvProg = ini.readString(kConvert, QStringLiteral("ConvProg"), QStringLiteral("txt2bas.exe"));
  Wrap1->setChecked(ini.readInt(kFormat, QStringLiteral("Wrap"), 0) != 0);
  ApplyWordWrap();
  RichEdit1->setColor(toColor(ini.readInt(kFormat, QStringLiteral("BackColor"), static_cast<int>(clWindow))));
  const QString fontName =
      ini.readString(kFormat, QStringLiteral("FontName"), QStringLiteral("ＭＳ ゴシック"));
  const int fontSize = ini.readInt(kFormat, QStringLiteral("FontSize"), 10);
  const TColor fontColor = toColor(ini.readInt(kFormat, QStringLiteral("FontColor"), 0));
  const bool bold = ini.readInt(kFormat, QStringLiteral("FontBold"), 0) != 0;
  const bool italic = ini.readInt(kFormat, QStringLiteral("FontItalic"), 0) != 0;
  RichEdit1->setFont(editorFont(editorDesignFont(), fontName, fontSize, bold, italic));
  editorFontName_ = fontName;
  RichEdit1->setFontColor(fontColor);
  RichEdit1->setModified(false);

  const int width = ini.readInt(kWindow, QStringLiteral("Width"), 536);
  const int height = ini.readInt(kWindow, QStringLiteral("Height"), 329);
  const int top = ini.readInt(kWindow, QStringLiteral("Top"), 107);
  const int left = ini.readInt(kWindow, QStringLiteral("Left"), 192);
  QRect outer(left, top, width, height);
  if (const QScreen *primary = QGuiApplication::primaryScreen()) {
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens()) {
      screens << screen->availableGeometry();
    }
    outer = keepOnScreen(outer, screens, primary->availableGeometry());
  }
  setOuterGeometry(outer.left(), outer.top(), outer.width(), outer.height());

  RecentFiles.clear();
  for (int n = 1; n <= 4; ++n) {
    RecentFiles << ini.readString(kRecent, QString::number(n), QString());
  }
  UpdateRecentMenu();
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
  // Every key goes into the file in one replace, so that an interrupted
  // close leaves the previous file whole.
  Profile ini = Profile::load(IniFile);
  for (int i = 0; i < 10; ++i) {
    ini.writeString(kFunctionKey, functionKeyName(i), frameKeyText(ConvertKeyText(FunctionKeys[i], true)));
  }
  ini.writeString(kMode, kMode, Mode5->isChecked() ? QStringLiteral("5") : QStringLiteral("6"));
  ini.writeString(kAuto, QStringLiteral("AutoAdd"), QString::number(AutoAdd));
  ini.writeString(kAuto, QStringLiteral("AutoFlag"), storedSwitch(AUTO1->isChecked()));
  ini.writeString(kConvert, QStringLiteral("ConvProg"), ConvProg);
  ini.writeString(kFormat, QStringLiteral("Wrap"), storedSwitch(Wrap1->isChecked()));
  ini.writeString(kFormat, QStringLiteral("BackColor"), storedColor(RichEdit1->color()));
  const QFont font = RichEdit1->font();
  // The name read comes back unchanged while the face is still the one it
  // stands for.
  const bool sameFace = installedFamily(editorFontName_).compare(font.family(), Qt::CaseInsensitive) == 0;
  ini.writeString(kFormat, QStringLiteral("FontName"), sameFace ? editorFontName_ : font.family());
  ini.writeString(kFormat, QStringLiteral("FontSize"), QString::number(pointSizeOf(font, RichEdit1)));
  ini.writeString(kFormat, QStringLiteral("FontColor"), storedColor(RichEdit1->fontColor()));
  ini.writeString(kFormat, QStringLiteral("FontBold"), storedSwitch(font.bold()));
  ini.writeString(kFormat, QStringLiteral("FontItalic"), storedSwitch(font.italic()));
  const QRect outer = outerGeometry();
  ini.writeString(kWindow, QStringLiteral("Width"), QString::number(outer.width()));
  ini.writeString(kWindow, QStringLiteral("Height"), QString::number(outer.height()));
  ini.writeString(kWindow, QStringLiteral("Top"), QString::number(outer.top()));
  ini.writeString(kWindow, QStringLiteral("Left"), QString::number(outer.left()));
  for (int n = 1; n <= 4; ++n) {
    ini.writeString(kRecent, QString::number(n), RecentFiles.value(n - 1));
  }
  try {
    ini.save(IniFile);
  } catch (const Error &) {
    // A settings file that cannot be written does not hold up the close.
  }
  return true;
}

} // namespace kavrin
