#include "app/application.h"
#include "logic/program_options.h"
#include "platform/terminal.h"
#include "widgets/qt_user_interface.h"

#include <QApplication>

int main(int argc, char *argv[]) {
  // Help, the version and a refusal need no display: they are answered
  // before the GUI application is made.
  const kavrin::ProgramOptions options = kavrin::readProgramOptions(kavrin::programArguments(argc, argv));
  if (options.action != kavrin::ProgramOptions::Action::Run) {
    const bool refused = options.action == kavrin::ProgramOptions::Action::Refuse;
    if (!kavrin::printToTerminal(options.text, refused) && !refused) {
      // Help or a version that never arrived is no success.
      kavrin::printToTerminal(QStringLiteral("kavrin: cannot write to standard output\n"), true);
      return 1;
    }
    return options.exitCode();
  }
  // Qt reads its options only up to "--": what follows is the user's files.
  int qtArgc = options.qtArgumentCount;
  QApplication app(qtArgc, argv);
  kavrin::initialiseApplication(app);
  kavrin::QtUserInterface ui;
  return kavrin::runApplication(app, ui, options.files);
}
