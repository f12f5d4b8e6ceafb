#include "logic/converter_command.h"

#include "platform/paths.h"

#include <QDir>

namespace kavrin {
namespace {

#if defined(Q_OS_WIN)
constexpr bool kNativeNames = false;
#else
constexpr bool kNativeNames = true; // a build for this system may drop ".exe"
#endif

bool isNamed(const QString &name, const char16_t *windowsName, const char16_t *nativeName) {
  return name.compare(QString::fromUtf16(windowsName), Qt::CaseInsensitive) == 0 ||
         (kNativeNames && name.compare(QString::fromUtf16(nativeName), Qt::CaseInsensitive) == 0);
}

} // namespace

ConverterKind identifyConverter(const QString &convProg) {
  const QString name = programFileNamePart(convProg);
  if (isNamed(name, u"txt2bas.exe", u"txt2bas")) {
    return ConverterKind::Txt2Bas;
  }
  if (isNamed(name, u"csave.exe", u"csave")) {
    return ConverterKind::CSave;
  }
  return ConverterKind::Unsupported;
}

QString withExtension(const QString &fileName, QStringView extension) {
  const qsizetype nameStart = fileName.size() - programFileNamePart(fileName).size();
  const qsizetype dot = fileName.lastIndexOf(u'.');
  const QString stem = dot >= nameStart ? fileName.left(dot) : fileName;
  return stem + extension.toString();
}

ConverterCommand buildConverterCommand(ConverterKind kind, const QString &convProg, bool mode6,
                                       const QString &textFile, const QString &imageFile) {
  ConverterCommand command{convProg, {}};
  // A Windows program may take a '/' for the start of a switch.
  const QString text = QDir::toNativeSeparators(textFile);
  const QString image = QDir::toNativeSeparators(imageFile);
  if (kind == ConverterKind::CSave) {
    command.arguments = {QStringLiteral("-o"), image, text};
    return command;
  }
  if (mode6) {
    command.arguments << QStringLiteral("-6");
  }
  command.arguments << text << image;
  return command;
}

} // namespace kavrin
