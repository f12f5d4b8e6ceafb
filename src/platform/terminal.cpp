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

#ifdef Q_OS_WIN

namespace {

// A standard handle is there when the output is redirected to a file or a
// pipe; only without one is the parent's console borrowed.  A console gets
// the text as it is, a file or pipe UTF-8: the ANSI code page may hold no
// Japanese.
HANDLE outputHandle(bool toStandardError) {
  const DWORD which = toStandardError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
  HANDLE handle = GetStdHandle(which);
  if ((handle == nullptr || handle == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
    handle = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         0, nullptr);
    SetStdHandle(which, handle);
  }
  return handle;
}

} // namespace

bool printToTerminal(const QString &text, bool toStandardError) {
  const HANDLE handle = outputHandle(toStandardError);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD mode = 0;
  DWORD done = 0;
  if (GetConsoleMode(handle, &mode)) {
    const std::wstring wide = text.toStdWString();
    return WriteConsoleW(handle, wide.data(), DWORD(wide.size()), &done, nullptr) && done == wide.size();
  }
  const QByteArray bytes = text.toUtf8();
  return WriteFile(handle, bytes.constData(), DWORD(bytes.size()), &done, nullptr) &&
         done == DWORD(bytes.size());
}

#else

bool printToTerminal(const QString &text, bool toStandardError) {
  std::FILE *stream = toStandardError ? stderr : stdout;
  const bool written = std::fputs(text.toLocal8Bit().constData(), stream) >= 0;
  return std::fflush(stream) == 0 && written && std::ferror(stream) == 0;
}

#endif

} // namespace kavrin
