#include "platform/text_file.h"

#include "platform/cp932.h"
#include "platform/error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kavrin {
QByteArray readFileBytes(const QString &path) {
  QFile file(path);
  if (QFileInfo(path).isDir()) {
    throw Error(QStringLiteral("ファイル \"%1\" を開けません。\nフォルダです。").arg(path));
  }
  if (!file.open(QIODevice::ReadOnly)) {
    throw Error(QStringLiteral("ファイル \"%1\" を開けません。\n%2").arg(path, file.errorString()));
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    throw Error(QStringLiteral("ファイル \"%1\" を読み込めません。\n%2").arg(path, file.errorString()));
  }
  return bytes;
}

QString readTextFile(const QString &path) { return cp932::decode(readFileBytes(path)); }

void writeFileAtomically(const QString &path, const QByteArray &bytes) {
  QSaveFile file(path);
  const auto fail = [&] {
    const QString reason = file.errorString();
    file.cancelWriting();
    throw Error(QStringLiteral("ファイル \"%1\" を保存できません。\n%2").arg(path, reason));
  };
  if (!file.open(QIODevice::WriteOnly)) {
    fail();
  }
  if (file.write(bytes) != bytes.size()) {
    fail();
  }
  if (!file.commit()) {
    fail();
  }
}

} // namespace kavrin
