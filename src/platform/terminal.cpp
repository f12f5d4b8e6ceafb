#include "platform/terminal.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#endif

namespace kavrin {

QStringList programArguments(int argc, char **argv) {
  QStringList arguments;
#ifdef Q_OS_WIN
  int count = 0;
  if (LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 0; i < count; ++i) {
      arguments << QString::fromWCharArray(wide[i]);
    }
    LocalFree(wide);
    return arguments;
  }
#endif
  for (int i = 0; i < argc; ++i) {
    arguments << QString::fromLocal8Bit(argv[i]);
  }
  return arguments;
}

bool printToTerminal(const QString &text, bool toStandardError) {
  std::FILE *stream = toStandardError ? stderr : stdout;
#ifdef Q_OS_WIN
  if (AttachConsole(ATTACH_PARENT_PROCESS)) {
    stream = std::freopen("CONOUT$", "w", stream);
  }
  if (stream == nullptr) {
    return false;
  }
#endif
  const bool written = std::fputs(text.toLocal8Bit().constData(), stream) >= 0;
  return std::fflush(stream) == 0 && written && std::ferror(stream) == 0;
}

} // namespace kavrin
