// A converter (and emulator) for tests, the same program on Linux and
// Windows: tests copy it under the name they need. It writes its arguments,
// one a line in UTF-8, to "<its path>.args", follows "<its path>.do" line by
// line, then adds "CAS" to the image (csave's after -o, else the last
// argument), so that each run changes its size, and writes "out" to its
// standard output. The lines of the .do file:
//   put TEXT          TEXT on standard error, bytes as they are
//   err TEXT          TEXT and a line break on standard error
//   sleep MS          waits
//   exit N            ends at once with N, the image unwritten
//   crash             ends as a program killed does
//   child             starts a copy of itself that waits 30 s, and tells
//                     its own id and the copy's on standard error
//   fail-once SUFFIX  an image ending in SUFFIX fails the first time
//   log               adds the first argument and a line break to "<its path>.log"
//   console           writes to "<its path>.console" what console it has:
//                     "window" (one the user sees), "console" (one without a
//                     window) or "none"
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

// In one piece, as a reader of the pipe would get a line written at once.
void tell(const std::string &text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

// The program's path and its arguments, in UTF-8.
using Arguments = std::vector<std::string>;

fs::path pathOf(const std::string &utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

fs::path beside(const Arguments &args, const char *extension) { return pathOf(args[0] + extension); }

#ifdef _WIN32
// Wide, so that paths survive whatever the ANSI code page is.
Arguments arguments(int, char **) {
  int count = 0;
  wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::wstring self(MAX_PATH * 4, L'\0');
  self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
  wide[0] = self.data();
  Arguments args;
  for (int i = 0; i < count; ++i) {
    const std::u8string bytes = fs::path(wide[i]).u8string();
    args.emplace_back(bytes.begin(), bytes.end());
  }
  return args;
}

void crash() { TerminateProcess(GetCurrentProcess(), 0xC0000005); }

const char *console() {
  if (GetConsoleCP() == 0) {
    return "none";
  }
  return GetConsoleWindow() != nullptr ? "window" : "console";
}

void startChild(const Arguments &args) {
  std::wstring line = L"\"" + pathOf(args[0]).wstring() + L"\" --wait";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    tell(std::to_string(GetCurrentProcessId()) + ' ' + std::to_string(info.dwProcessId) + '\n');
  }
}
#else
Arguments arguments(int argc, char **argv) { return Arguments(argv, argv + argc); }

void crash() { std::raise(SIGKILL); }

const char *console() { return "none"; }

void startChild(const Arguments &args) {
  const pid_t child = fork();
  if (child == 0) {
    execl(args[0].c_str(), args[0].c_str(), "--wait", nullptr);
    _exit(127);
  }
  tell(std::to_string(getpid()) + ' ' + std::to_string(child) + '\n');
}
#endif

// Runs one line of the .do file; false ends the run before the image.
bool run(const Arguments &args, const std::string &image, const std::string &line, int &code) {
  const std::size_t blank = line.find(' ');
  const std::string word = line.substr(0, blank);
  const std::string rest = blank == std::string::npos ? std::string() : line.substr(blank + 1);
  if (word == "put" || word == "err") {
    tell(rest + (word == "err" ? "\n" : ""));
  } else if (word == "sleep") {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(rest)));
  } else if (word == "exit") {
    code = std::stoi(rest);
    return false;
  } else if (word == "crash") {
    crash();
  } else if (word == "child") {
    startChild(args);
  } else if (word == "fail-once" && image.ends_with(rest) && !fs::exists(pathOf(image + ".tried"))) {
    std::ofstream{pathOf(image + ".tried")};
    code = 1;
    return false;
  } else if (word == "log") {
    std::ofstream(beside(args, ".log"), std::ios::binary | std::ios::app) << args.at(1) << '\n';
  } else if (word == "console") {
    std::ofstream(beside(args, ".console"), std::ios::binary) << console() << '\n';
  }
  return true;
}

} // namespace

int main(int argc, char **argv) {
#ifdef _WIN32
  // Bytes as they are: no line break becomes CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  const Arguments args = arguments(argc, argv);
  if (args.size() == 2 && args[1] == "--wait") {
    std::this_thread::sleep_for(std::chrono::seconds(30));
    return 0;
  }
  {
    // Whole or not at all: a test may wait for the file to appear.
    const fs::path written = beside(args, ".args.tmp");
    std::ofstream out(written, std::ios::binary);
    for (std::size_t i = 1; i < args.size(); ++i) {
      out << args[i] << '\n';
    }
    out.close();
    fs::rename(written, beside(args, ".args"));
  }
  const std::string image = args.size() > 2 && args[1] == "-o" ? args[2] : args.back();
  std::ifstream script(beside(args, ".do"), std::ios::binary);
  int code = 0;
  for (std::string line; std::getline(script, line);) {
    if (!run(args, image, line, code)) {
      return code;
    }
  }
  if (args.size() > 1) {
    std::ofstream(pathOf(image), std::ios::binary | std::ios::app) << "CAS";
  }
  std::fputs("out\n", stdout);
  return 0;
}
