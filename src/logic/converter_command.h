#pragma once

#include <QString>
#include <QStringList>

namespace kavrin {

enum class ConverterKind { Txt2Bas, CSave, Unsupported };

// Which converter the configured program is, by its file name
// (programFileNamePart) in any letter case: "txt2bas.exe" or "csave.exe"
// (on Linux and macOS also the native "txt2bas" and "csave").
ConverterKind identifyConverter(const QString &convProg);

// The tape image proposed for a document: its extension (from the last dot
// of its file name) replaced by ".cas", or ".cas" added.
QString tapeImageName(const QString &fileName);

// A converter run: the program as configured and its arguments, each path
// one argument whatever it holds, never parsed again by a shell.
struct ConverterCommand {
  QString program;
  QStringList arguments;
};

ConverterCommand buildConverterCommand(ConverterKind kind, const QString &convProg, bool mode6,
                                       const QString &textFile, const QString &imageFile);

} // namespace kavrin
