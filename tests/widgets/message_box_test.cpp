#include "widgets/qt_user_interface.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace kavrin {
namespace {

// Return takes the default and Escape the safe way out: for the question
// before discarding changes that is Cancel, never No.
TEST(MessageBoxes, KeysGiveTheAnswersTheButtonsSay) {
  const struct {
    MsgButtons buttons;
    MsgResult defaultButton;
    Qt::Key key;
    MsgResult answer;
    qsizetype buttonCount;
  } rows[] = {
      {MsgButtons::YesNoCancel, MsgResult::Yes, Qt::Key_Escape, MsgResult::Cancel, 3},
      {MsgButtons::YesNoCancel, MsgResult::Yes, Qt::Key_Return, MsgResult::Yes, 3},
      {MsgButtons::YesNoCancel, MsgResult::No, Qt::Key_Return, MsgResult::No, 3},
      {MsgButtons::YesNo, MsgResult::Yes, Qt::Key_Escape, MsgResult::No, 2},
      {MsgButtons::Ok, MsgResult::Ok, Qt::Key_Escape, MsgResult::Ok, 1},
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(static_cast<int>(row.buttons) * 10 + static_cast<int>(row.key == Qt::Key_Escape));
    qsizetype shownButtons = 0;
    // Looks again until the box shows, so that the test never hangs on it.
    std::function<void()> answer = [&] {
      for (QWidget *shown : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(shown); box && box->isVisible()) {
          shownButtons = box->buttons().size();
          QTest::keyClick(box, row.key);
          return;
        }
      }
      QTimer::singleShot(10, answer);
    };
    QTimer::singleShot(0, answer);
    EXPECT_EQ(QtUserInterface().messageBox(nullptr, QStringLiteral("?"), QStringLiteral("kavrin"),
                                           row.buttons, row.defaultButton),
              row.answer);
    EXPECT_EQ(shownButtons, row.buttonCount);
  }
}

} // namespace
} // namespace kavrin
