#include "app/application.h"
#include "logic/program_options.h"
#include "platform/terminal.h"
#include "widgets/qt_user_interface.h"

#include <QApplication>
#include <QStringList>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

namespace {

// While the GUI application is made, Qt's messages are held back: a
// display that cannot be opened ends the program with status 1 and one
// line, where Qt would print several and abort.  Any platform's failure to
// start its windowing is told so; otherwise the messages go on as they came.
class DisplayCheck {
public:
  DisplayCheck() { previous_ = qInstallMessageHandler(&DisplayCheck::hold); }
  ~DisplayCheck() {
    qInstallMessageHandler(previous_);
    const std::lock_guard lock(mutex_);
    for (const Held &m : held_) {
      const QMessageLogContext context(nullptr, 0, nullptr, m.category.constData());
      qt_message_output(m.type, context, m.text);
    }
    held_.clear();
  }
  DisplayCheck(const DisplayCheck &) = delete;
  DisplayCheck &operator=(const DisplayCheck &) = delete;

private:
  struct Held {
    QtMsgType type;
    QByteArray category;
    QString text;
  };

  static void hold(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    const std::lock_guard lock(mutex_);
    if (type == QtFatalMsg) {
      // Qt's own reasons, in short: the warnings before the end name what
      // failed (no server, a missing plugin), the fatal text only how.
      QStringList reasons;
      for (const Held &m : held_) {
        reasons << m.text.section(u'\n', 0, 0).trimmed();
      }
      const QString why = reasons.isEmpty() ? text.section(u'\n', 0, 0).trimmed() : reasons.join(u"; ");
      kavrin::printToTerminal(QStringLiteral("kavrin: no display could be opened (%1)\n").arg(why), true);
      std::_Exit(1);
    }
    held_.push_back({type, QByteArray(context.category), text});
  }

  static inline QtMessageHandler previous_ = nullptr;
  static inline std::mutex mutex_;
  static inline std::vector<Held> held_;
};

} // namespace

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
  auto check = std::make_unique<DisplayCheck>();
  QApplication app(qtArgc, argv);
  check.reset();
  kavrin::initialiseApplication(app);
  kavrin::QtUserInterface ui;
  return kavrin::runApplication(app, ui, options.files);
}
