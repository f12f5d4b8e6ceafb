#include "sample_settings.h"

#include "measure.h"
#include "platform/cp932.h"
#include "sample_program.h"

#include <QDir>
#include <QString>

#include <stdexcept>

namespace kavrin::bench {

QByteArray makeFullSettings(const QStringList &recentFiles) {
  if (recentFiles.size() != 4) {
    throw std::invalid_argument("the settings name four recent files");
  }
  // Each function key framed by dots, line breaks as "(ret)", as kavrin
  // writes them; one holds Japanese, as a PRINT of a message would.
  QStringList lines{
      QStringLiteral("[FunctionKey]"),
      QStringLiteral("F1=.COLOR 15,4,7(ret)."),
      QStringLiteral("F2=.LOAD\"."),
      QStringLiteral("F3=.GOSUB ."),
      QStringLiteral("F4=.LIST ."),
      QStringLiteral("F5=.RUN(ret)."),
      QStringLiteral("F6=.SCREEN 1,2:WIDTH 32(ret)."),
      QStringLiteral("F7=.SAVE\"."),
      QStringLiteral("F8=.PRINT \"ゲームオーバー\"."),
      QStringLiteral("F9=.BLOAD\"SPRITE.BIN\",R."),
      QStringLiteral("F10=.CLS:LIST(ret)."),
      QStringLiteral("[Mode]"),
      QStringLiteral("Mode=6"),
      QStringLiteral("[Auto]"),
      QStringLiteral("AutoAdd=20"),
      QStringLiteral("AutoFlag=1"),
      QStringLiteral("[Convert]"),
      QStringLiteral("ConvProg=C:\\MSX\\tools\\txt2bas.exe"),
      QStringLiteral("[Format]"),
      QStringLiteral("Wrap=1"),
      // Pale yellow paper with navy text, stored as Windows colour values.
      QStringLiteral("BackColor=13434879"),
      QStringLiteral("FontName=ＭＳ ゴシック"),
      QStringLiteral("FontSize=12"),
      QStringLiteral("FontColor=8388608"),
      QStringLiteral("FontBold=1"),
      QStringLiteral("FontItalic=0"),
      QStringLiteral("[Window]"),
      QStringLiteral("Width=640"),
      QStringLiteral("Height=480"),
      QStringLiteral("Top=64"),
      QStringLiteral("Left=96"),
      QStringLiteral("[Recent]"),
  };
  for (int n = 1; n <= 4; ++n) {
    lines << QStringLiteral("%1=%2").arg(n).arg(recentFiles[n - 1]);
  }
  const cp932::Encoded encoded = cp932::encode(lines.join(u'\n') + u'\n');
  if (!encoded.ok()) {
    throw std::runtime_error("sample settings are not Shift-JIS");
  }
  return encoded.bytes;
}

SettingsFiles makeSettingsFiles(const QDir &dir) {
  for (const QString &folder : {QStringLiteral("no-settings"), QStringLiteral("settings")}) {
    if (!dir.mkpath(folder)) {
      throw Failure(QStringLiteral("cannot make %1").arg(dir.filePath(folder)));
    }
  }
  SettingsFiles settings;
  settings.none = dir.filePath(QStringLiteral("no-settings/kavrin.ini"));
  settings.full = dir.filePath(QStringLiteral("settings/kavrin.ini"));
  // The recent files exist, as they would after a few sessions.
  QStringList recent;
  const QStringList names{QStringLiteral("シューティング.txt"), QStringLiteral("RPG戦闘.txt"),
                          QStringLiteral("MAZE.TXT"), QStringLiteral("音楽データ.txt")};
  for (qsizetype i = 0; i < names.size(); ++i) {
    const QString path = dir.filePath(QStringLiteral("settings/") + names[i]);
    writeFile(path, makeSampleProgram(4 * 1024 * (i + 1)));
    recent << QDir::toNativeSeparators(path);
  }
  settings.fullBytes = makeFullSettings(recent);
  writeFile(settings.full, settings.fullBytes);
  return settings;
}

} // namespace kavrin::bench
