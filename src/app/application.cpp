#include "app/application.h"

#include "app/main_window.h"
#include "platform/error.h"
#include "platform/fonts.h"
#include "platform/user_interface.h"
#include "widgets/window_icon.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kavrin {

std::unique_ptr<MainWindow> createMainWindow(UserInterface &ui, const QStringList &args) {
  return createMainWindow(ui, args, ProgramPaths::ofThisProgram());
}

std::unique_ptr<MainWindow> createMainWindow(UserInterface &ui, const QStringList &args,
                                             const ProgramPaths &paths) {
  try {
    auto window = std::make_unique<MainWindow>(ui, args, paths);
    // Queued as well: whatever the first paint left to do goes first.
    QObject::connect(window.get(), &MainWindow::firstPainted, window.get(), &installWindowIcon,
                     Qt::QueuedConnection);
    return window;
  } catch (const Error &e) {
    showMessage(ui, nullptr, e.message());
    return nullptr;
  }
}

void initialiseApplication(QApplication &app) {
  QApplication::setApplicationName(QStringLiteral("kavrin"));
  QGuiApplication::setDesktopFileName(QStringLiteral("kavrin"));
  installJapaneseFontSubstitutes();
  // Message boxes and dialogs speak Japanese too; and with the window's font
  // as everyone's, no widget lays itself out in another font first.
  QApplication::setFont(windowFont());
  // The interface is Japanese whatever the system's language, and so are
  // the buttons and dialogs that Qt provides.
  auto *translator = new QTranslator(&app);
  if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  }
}

int runApplication(QApplication &app, UserInterface &ui, const QStringList &files) {
  const std::unique_ptr<MainWindow> form = createMainWindow(ui, files);
  if (!form) {
    return 1;
  }
  form->show();
  return app.exec();
}

} // namespace kavrin
