#include "logic/recovery.h"

#include "platform/error.h"
#include "platform/text_file.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <algorithm>

namespace kavrin {
namespace {

const QByteArray kMagic = QByteArrayLiteral("KAVRIN RECOVERY\n");
// The first version ends with the text; the second adds the file's stamp.
constexpr quint32 kVersion = 1;
constexpr quint32 kStampedVersion = 2;
constexpr quint32 kFormVersion = 3; // a stamp or none, then the form
constexpr int kHashBytes = 32;
const QString kCopySuffix = QStringLiteral(".recovery");
const QString kLockSuffix = QStringLiteral(".lock");

QByteArray hashOf(QByteArrayView bytes) {
  return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

QString lockFileOf(const QString &copyFile) {
  return copyFile.left(copyFile.size() - kCopySuffix.size()) + kLockSuffix;
}

QString copyFileOf(const QString &lockFile) {
  return lockFile.left(lockFile.size() - kLockSuffix.size()) + kCopySuffix;
}

void writeStamp(QDataStream &out, const FileStamp &stamp) {
  out << stamp.exists << stamp.size << stamp.modified.toMSecsSinceEpoch() << stamp.hash
      << stamp.taken.toMSecsSinceEpoch();
}

FileStamp readStamp(QDataStream &in) {
  FileStamp stamp;
  qint64 modified = 0;
  qint64 taken = 0;
  in >> stamp.exists >> stamp.size >> modified >> stamp.hash >> taken;
  stamp.modified = QDateTime::fromMSecsSinceEpoch(modified);
  stamp.taken = QDateTime::fromMSecsSinceEpoch(taken);
  return stamp;
}

} // namespace

QByteArray encodeRecoveryCopy(const RecoveryCopy &copy) {
  QByteArray bytes = kMagic;
  QDataStream out(&bytes, QIODevice::Append);
  out.setVersion(QDataStream::Qt_6_0);
  const quint32 version = copy.sourceForm ? kFormVersion : copy.stamp ? kStampedVersion : kVersion;
  out << version << copy.fileName << copy.written.toMSecsSinceEpoch() << copy.text;
  if (version == kFormVersion) {
    out << copy.stamp.has_value();
  }
  if (copy.stamp) {
    writeStamp(out, *copy.stamp);
  }
  if (copy.sourceForm) {
    out << *copy.sourceForm;
  }
  return bytes + hashOf(bytes);
}

std::optional<RecoveryCopy> decodeRecoveryCopy(const QByteArray &bytes) {
  if (bytes.size() < kMagic.size() + kHashBytes || !bytes.startsWith(kMagic)) {
    return std::nullopt;
  }
  const QByteArray body = bytes.first(bytes.size() - kHashBytes);
  if (hashOf(body) != bytes.last(kHashBytes)) {
    return std::nullopt;
  }
  QDataStream in(body.sliced(kMagic.size()));
  in.setVersion(QDataStream::Qt_6_0);
  quint32 version = 0;
  RecoveryCopy copy;
  qint64 written = 0;
  in >> version;
  if (version != kVersion && version != kStampedVersion && version != kFormVersion) {
    return std::nullopt;
  }
  in >> copy.fileName >> written >> copy.text;
  bool stamped = version == kStampedVersion;
  if (version == kFormVersion) {
    in >> stamped;
  }
  if (stamped) {
    copy.stamp = readStamp(in);
  }
  if (version == kFormVersion) {
    bool source = false;
    in >> source;
    copy.sourceForm = source;
  }
  if (in.status() != QDataStream::Ok || !in.atEnd()) {
    return std::nullopt;
  }
  copy.written = QDateTime::fromMSecsSinceEpoch(written);
  return copy;
}

QString defaultRecoveryFolder() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
  return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recovery");
#else
  QString state = qEnvironmentVariable("XDG_STATE_HOME");
  // A relative XDG_STATE_HOME is invalid and is ignored, as XDG tools do.
  if (state.isEmpty() || QDir::isRelativePath(state)) {
    state = QDir::homePath() + QStringLiteral("/.local/state");
  }
  return state + QStringLiteral("/kavrin");
#endif
}

bool RecoveryStore::claim() {
  // A folder or lock removed under a running editor is made again, so that
  // its copy is neither lost nor taken for one left behind.
  if (lock_.held() && QFile::exists(lockFileOf(own_))) {
    return true;
  }
  if (!QDir().mkpath(folder_)) {
    return false;
  }
  QFile::setPermissions(folder_, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  // The process id keeps names apart among running editors, the random part
  // from copies an earlier process of the same id left.
  const QString base = QDir(folder_).filePath(
      QStringLiteral("kavrin-%1-%2")
          .arg(QCoreApplication::applicationPid())
          .arg(static_cast<uint>(QRandomGenerator::global()->generate()), 8, 16, QChar(u'0')));
  const QString own = own_.isEmpty() ? base + kCopySuffix : own_;
  if (!lock_.acquire(lockFileOf(own))) {
    return false;
  }
  own_ = own;
  return true;
}

bool RecoveryStore::write(const RecoveryCopy &copy, QString *why) {
  const auto failed = [why](const QString &reason) {
    if (why != nullptr) {
      *why = reason;
    }
    return false;
  };
  if (!claim()) {
    return failed(
        QStringLiteral("フォルダ \"%1\" に書き込めません。").arg(QDir::toNativeSeparators(folder_)));
  }
  try {
    // Read back before it replaces the last good copy.
    writeFileAtomically(own_, encodeRecoveryCopy(copy),
                        {QFileDevice::ReadOwner | QFileDevice::WriteOwner, true});
  } catch (const Error &e) {
    return failed(e.message());
  }
  return true;
}

void RecoveryStore::remove() {
  if (!own_.isEmpty()) {
    QFile::remove(own_);
  }
}

std::vector<LeftCopy> RecoveryStore::leftBehind() const {
  std::vector<LeftCopy> left;
  const QDir dir(folder_);
  // The lock of an editor that stopped with nothing unsaved.
  for (const QFileInfo &info : dir.entryInfoList({QStringLiteral("*") + kLockSuffix}, QDir::Files)) {
    const QString lock = info.absoluteFilePath();
    if (!QFile::exists(copyFileOf(lock))) {
      ProcessLock::removeIfUnheld(lock);
    }
  }
  for (const QFileInfo &info : dir.entryInfoList({QStringLiteral("*") + kCopySuffix}, QDir::Files)) {
    const QString file = info.absoluteFilePath();
    if (ProcessLock::isHeld(lockFileOf(file))) {
      continue; // its editor is still running
    }
    QFile in(file);
    std::optional<RecoveryCopy> copy;
    if (in.open(QIODevice::ReadOnly)) {
      copy = decodeRecoveryCopy(in.readAll());
    }
    left.push_back({file, copy, info.lastModified()});
  }
  std::sort(left.begin(), left.end(),
            [](const LeftCopy &a, const LeftCopy &b) { return a.modified > b.modified; });
  return left;
}

void RecoveryStore::discard(const QString &copyFile) {
  QFile::remove(copyFile);
  ProcessLock::removeIfUnheld(lockFileOf(copyFile));
}

} // namespace kavrin
