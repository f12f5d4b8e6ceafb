// A bare Qt window: a plain text edit of the given size, holding the given
// file's bytes as text when one is named, shown once that is done; its title
// names the file.
//   bare_window WIDTH HEIGHT [FILE]
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>

int main(int argc, char **argv) {
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  if (args.size() < 3) {
    return 2;
  }
  QPlainTextEdit edit;
  edit.resize(args[1].toInt(), args[2].toInt());
  QString title = QStringLiteral("bare");
  if (args.size() > 3) {
    QFile file(args[3]);
    if (!file.open(QIODevice::ReadOnly)) {
      return 1;
    }
    edit.setPlainText(QString::fromLatin1(file.readAll()));
    title = QFileInfo(args[3]).fileName() + QStringLiteral(" - bare");
  }
  edit.setWindowTitle(title);
  edit.show();
  return QApplication::exec();
}
