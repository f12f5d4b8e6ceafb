#include "app/application.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

// Tests run headless unless told otherwise, in the application as the
// program sets it up: its name, fonts and Japanese dialogs.
int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
#ifdef Q_OS_WIN
  // Offscreen, Qt on Windows reads the fonts of one folder only: the system's.
  if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR")) {
    qputenv("QT_QPA_FONTDIR", (qEnvironmentVariable("WINDIR") + "/Fonts").toLocal8Bit());
  }
#endif
  QApplication app(argc, argv);
  kavrin::initialiseApplication(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
