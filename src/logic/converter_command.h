#pragma once

#include <QString>
#include <QStringList>

namespace kavrin {

enum class ConverterKind { Txt2Bas, CSave, Unsupported };

// Which converter the configured program is, by its file name
// (programFileNamePart) in any letter case: "txt2bas.exe" or "csave.exe"
// (on Linux and macOS also the native "txt2bas" and "csave").
ConverterKind identifyConverter(const QString &convProg);

// `fileName` with its extension (from the last dot of its file name)
// replaced by `extension` (".cas"), or `extension` added.
QString withExtension(const QString &fileName, QStringView extension);
// The tape image proposed for a document.
inline QString tapeImageName(const QString &fileName) { return withExtension(fileName, u".cas"); }

// A converter run: the program as configured and its arguments, each path
// one argument whatever it holds, never parsed again by a shell.
struct ConverterCommand {
  QString program;
  QStringList arguments;
};

ConverterCommand buildConverterCommand(ConverterKind kind, const QString &convProg, bool mode6,
                                       const QString &textFile, const QString &imageFile);

} // namespace kavrin
