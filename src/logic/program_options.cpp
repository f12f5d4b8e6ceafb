#include "logic/program_options.h"

#include "platform/version.h"

#include <QCommandLineParser>

namespace kavrin {
namespace {

// Qt's standard options, read by QApplication itself.
const char *const kQtOptionsWithValue[] = {
    "platform",
    "platformpluginpath",
    "platformtheme",
    "plugin",
    "qwindowgeometry",
    "qwindowicon",
    "qwindowtitle",
    "session",
    "display",
    "geometry",
    "style",
    "stylesheet",
    "qmljsdebugger",
    "dialogs",
    "fontengine",
    "title",
    "icon",
    "name",
    "visual",
};
const char *const kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};

QString helpText() {
  return QStringLiteral("Usage: kavrin [options] [--] [file]\n"
                        "Edits the BASIC programs of an 8-bit home computer and converts them to\n"
                        "cassette tape images (.cas).\n"
                        "\n"
                        "Arguments:\n"
                        "  file           a Shift-JIS text file to open; further files are ignored\n"
                        "\n"
                        "Options:\n"
                        "  -h, --help     print this help and exit\n"
                        "  -v, --version  print the version and exit\n"
                        "  --             end the options: what follows is a file, even if it\n"
                        "                 begins with '-'\n"
                        "\n"
                        "Qt's standard options, such as -platform and -style, are accepted too.\n"
                        "See kavrin(1) for the files and settings it uses.\n");
}

// The argument as the user typed it, for the refusal: Qt names an unknown
// option without its dashes or value.
QString typedOption(const QStringList &arguments, const QString &name) {
  for (qsizetype i = 1; i < arguments.size() && arguments[i] != QLatin1String("--"); ++i) {
    QString bare = arguments[i].section(QLatin1Char('='), 0, 0);
    while (bare.startsWith(QLatin1Char('-'))) {
      bare.remove(0, 1);
    }
    if (bare == name && arguments[i].startsWith(QLatin1Char('-'))) {
      return arguments[i].section(QLatin1Char('='), 0, 0);
    }
  }
  return name;
}

QString refusal(const QCommandLineParser &parser, const QStringList &arguments) {
  const QStringList unknown = parser.unknownOptionNames();
  const QString why =
      unknown.isEmpty() ? parser.errorText()
                        : QStringLiteral("unknown option '%1'").arg(typedOption(arguments, unknown.first()));
  return QStringLiteral("kavrin: %1\nTry 'kavrin --help' for more information.\n").arg(why);
}

int leadingBeforeEndOfOptions(const QStringList &arguments) {
  const qsizetype end = arguments.indexOf(QStringLiteral("--"), 1);
  return static_cast<int>(end < 0 ? arguments.size() : end);
}

} // namespace

ProgramOptions readProgramOptions(const QStringList &arguments) {
  QCommandLineParser parser;
  // As Qt reads its own: "-style" is one option, not five letters.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  QStringList helpNames{QStringLiteral("h"), QStringLiteral("help")};
#ifdef Q_OS_WIN
  helpNames << QStringLiteral("?");
#endif
  const QCommandLineOption help(helpNames);
  const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
  parser.addOption(help);
  parser.addOption(version);
  for (const char *name : kQtOptionsWithValue) {
    parser.addOption(QCommandLineOption(QString::fromLatin1(name), {}, QStringLiteral("value")));
  }
  for (const char *name : kQtFlags) {
    parser.addOption(QCommandLineOption(QString::fromLatin1(name)));
  }

  ProgramOptions options;
  options.qtArgumentCount = leadingBeforeEndOfOptions(arguments);
  if (!parser.parse(arguments)) {
    options.action = ProgramOptions::Action::Refuse;
    options.text = refusal(parser, arguments);
  } else if (parser.isSet(help)) {
    options.action = ProgramOptions::Action::PrintHelp;
    options.text = helpText();
  } else if (parser.isSet(version)) {
    options.action = ProgramOptions::Action::PrintVersion;
    options.text = QStringLiteral("%1 %2\n").arg(QLatin1String(kProgramName), QLatin1String(kProgramVersion));
  } else {
    options.files = parser.positionalArguments();
  }
  return options;
}

} // namespace kavrin
