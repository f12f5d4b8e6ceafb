#include "convert/converter_command.h"

namespace kavrin {
namespace {

qsizetype lastSeparator(const QString &path) {
  qsizetype at = path.lastIndexOf(u'\\');
#if !defined(Q_OS_WIN)
  at = std::max(at, path.lastIndexOf(u'/'));
#endif
  return at;
}

bool isNamed(const QString &name, const char16_t *windowsName, const char16_t *nativeName) {
  if (name.compare(QString::fromUtf16(windowsName), Qt::CaseInsensitive) == 0) {
    return true;
  }
#if defined(Q_OS_WIN)
  Q_UNUSED(nativeName);
  return false;
#else
  return name.compare(QString::fromUtf16(nativeName), Qt::CaseInsensitive) == 0;
#endif
}

QString quoted(const QString &s) { return u'"' + s + u'"'; }

} // namespace

QString converterFileName(const QString &convProg) { return convProg.mid(lastSeparator(convProg) + 1); }

ConverterKind identifyConverter(const QString &convProg) {
  const QString name = converterFileName(convProg);
  if (isNamed(name, u"txt2bas.exe", u"txt2bas")) {
    return ConverterKind::Txt2Bas;
  }
  if (isNamed(name, u"csave.exe", u"csave")) {
    return ConverterKind::CSave;
  }
  return ConverterKind::Unsupported;
}

QString tapeImageName(const QString &fileName) {
  const qsizetype nameStart = lastSeparator(fileName) + 1;
  const qsizetype dot = fileName.lastIndexOf(u'.');
  const QString stem = dot >= nameStart ? fileName.left(dot) : fileName;
  return stem + QStringLiteral(".cas");
}

ConverterCommand buildConverterCommand(ConverterKind kind, const QString &convProg, bool mode6,
                                       const QString &textFile, const QString &imageFile) {
  ConverterCommand command;
  command.program = convProg;
  QStringList shown{quoted(convProg)};
  if (kind == ConverterKind::CSave) {
    command.arguments = {QStringLiteral("-o"), imageFile, textFile};
    shown << QStringLiteral("-o") << quoted(imageFile) << quoted(textFile);
  } else {
    if (mode6) {
      command.arguments << QStringLiteral("-6");
      shown << QStringLiteral("-6");
    }
    command.arguments << textFile << imageFile;
    shown << quoted(textFile) << quoted(imageFile);
  }
  command.commandLine = shown.join(u' ');
  return command;
}

} // namespace kavrin
