#include "help/help_commands.h"

#include "platform/user_interface.h"
#include "platform/version.h"
#include "widgets/session.h"

#include <QDir>
#include <QMessageBox>

namespace kavrin {

HelpCommands::HelpCommands(const FeatureContext &context) : WindowFeature(context) {
  addCommand("about", QStringLiteral("バージョン情報(&A)..."), &HelpCommands::showAbout);
  addCommand("aboutQt", QStringLiteral("Qt について(&Q)..."), &HelpCommands::showAboutQt);
}

QString HelpCommands::aboutText() const {
  const ProgramPaths &paths = session().paths();
  return QStringLiteral("%1 %2\n"
                        "8 ビット機の BASIC プログラムを書いてテープイメージに変換するエディタ\n"
                        "\n"
                        "Copyright (c) 2026 the kavrin developers\n"
                        "ライセンス: MIT License\n"
                        "Qt のバージョン: %3\n"
                        "\n"
                        "設定ファイル:\n%4\n"
                        "復元用コピーのフォルダ:\n%5")
      .arg(QLatin1String(kProgramName), QLatin1String(kProgramVersion), QLatin1String(qVersion()),
           QDir::toNativeSeparators(paths.iniFile), QDir::toNativeSeparators(paths.stateDir));
}

void HelpCommands::showAbout() {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("kavrin のバージョン情報"), aboutText(),
                  QMessageBox::Ok, window());
  box.setDefaultButton(QMessageBox::Ok);
  // The paths are there to be copied.
  box.setTextInteractionFlags(Qt::TextSelectableByMouse);
  const QIcon icon = window()->windowIcon();
  if (!icon.isNull()) {
    box.setIconPixmap(icon.pixmap(64));
  }
  ui().execModal(box);
}

void HelpCommands::showAboutQt() { ui().aboutQt(window()); }

} // namespace kavrin
