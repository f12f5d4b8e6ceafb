#include "app/application.h"
#include "widgets/qt_user_interface.h"

#include <QApplication>

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  kavrin::initialiseApplication(app);
  kavrin::QtUserInterface ui;
  return kavrin::runApplication(app, ui);
}
