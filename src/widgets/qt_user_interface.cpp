#include "widgets/qt_user_interface.h"

#include "platform/file_filter.h"
#include "widgets/font_dialog.h"
#include "widgets/progress_dialog.h"
#include "widgets/window_icon.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace kavrin {
namespace {

QMessageBox::StandardButton toStandard(MsgResult r) {
  switch (r) {
  case MsgResult::Yes:
    return QMessageBox::Yes;
  case MsgResult::No:
    return QMessageBox::No;
  case MsgResult::Cancel:
    return QMessageBox::Cancel;
  case MsgResult::Ok:
    break;
  }
  return QMessageBox::Ok;
}

// The one extension a Qt name filter's masks name, as "bas" for
// "BASIC プログラム (*.bas)"; empty for several masks or a wildcard.
QString singleExtension(const QString &nameFilter) {
  const qsizetype open = nameFilter.lastIndexOf(u'(');
  const QString masks = nameFilter.mid(open + 1, nameFilter.size() - open - 2);
  const QString ext = masks.mid(2);
  const bool one = masks.startsWith(QStringLiteral("*.")) && !ext.isEmpty() && !ext.contains(u'*') &&
                   !ext.contains(u'?') && !ext.contains(u' ');
  return one ? ext : QString();
}

bool execFileDialog(QWidget *owner, FileDialog &state, QFileDialog::AcceptMode mode) {
  const std::unique_ptr<QFileDialog> made = makeFileDialog(owner, state, mode);
  QFileDialog &dialog = *made;
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return false;
  }
  state.fileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
  return true;
}

} // namespace

std::unique_ptr<QFileDialog> makeFileDialog(QWidget *owner, const FileDialog &state,
                                            QFileDialog::AcceptMode mode) {
  auto made = std::make_unique<QFileDialog>(owner);
  QFileDialog &dialog = *made;
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
  // The GTK dialog matches masks case-sensitively; Qt's own does not.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
#endif
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !state.askBeforeReplacing);
  if (!state.title.isEmpty()) {
    dialog.setWindowTitle(state.title);
  }
  const QStringList filters = qtNameFilters(state.filter);
  // The type of the extension given, or the first: a source is offered
  // among BASIC sources.
  const auto own = std::find_if(filters.begin(), filters.end(), [&state](const QString &filter) {
    return !state.defaultExt.isEmpty() && singleExtension(filter) == state.defaultExt;
  });
  const QString offered = own != filters.end() ? *own : filters.value(0);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(offered);
  }
  dialog.setDefaultSuffix(state.defaultExt);
  if (mode == QFileDialog::AcceptSave) {
    // Choosing another type than the one offered means a file of that type:
    // a name typed without an extension gets the type's.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [shown = &dialog, offered, ext = state.defaultExt](const QString &chosen) {
                       const QString own = singleExtension(chosen);
                       shown->setDefaultSuffix(chosen == offered || own.isEmpty() ? ext : own);
                     });
  }
  if (!state.fileName.isEmpty()) {
    const QFileInfo info(state.fileName);
    if (info.dir().exists()) {
      dialog.setDirectory(info.absolutePath());
    }
    dialog.selectFile(info.fileName());
  }
  return made;
}

MsgResult QtUserInterface::messageBox(QWidget *owner, const QString &text, const QString &caption,
                                      MsgButtons buttons, MsgResult defaultButton) {
  // A box may come before the main window is painted (at start-up).
  installWindowIcon();
  QMessageBox box(owner);
  box.setIcon(QMessageBox::NoIcon);
  box.setWindowTitle(caption);
  box.setText(text);
  box.setTextFormat(Qt::PlainText);
  if (buttons == MsgButtons::YesNoCancel) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
  } else if (buttons == MsgButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
  }
  box.setDefaultButton(toStandard(defaultButton));
  switch (box.exec()) {
  case QMessageBox::Yes:
    return MsgResult::Yes;
  case QMessageBox::No:
    return MsgResult::No;
  case QMessageBox::Ok:
    return MsgResult::Ok;
  default:
    return buttons == MsgButtons::Ok      ? MsgResult::Ok
           : buttons == MsgButtons::YesNo ? MsgResult::No
                                          : MsgResult::Cancel;
  }
}

bool QtUserInterface::execOpenDialog(QWidget *owner, FileDialog &dialog) {
  return execFileDialog(owner, dialog, QFileDialog::AcceptOpen);
}

bool QtUserInterface::execSaveDialog(QWidget *owner, FileDialog &dialog) {
  return execFileDialog(owner, dialog, QFileDialog::AcceptSave);
}

bool QtUserInterface::execFontDialog(QWidget *owner, FontChoice &choice) {
  FontColorDialog dialog(owner);
  dialog.setChoice(choice);
  if (dialog.exec() != QDialog::Accepted) {
    return false;
  }
  choice = dialog.choice();
  return true;
}

bool QtUserInterface::execColorDialog(QWidget *owner, TColor &color) {
  const QColor initial = toQColor(color, QApplication::palette());
  const QColor chosen = QColorDialog::getColor(initial, owner);
  if (!chosen.isValid()) {
    return false;
  }
  // A system colour that is only confirmed stays a system colour.
  if (chosen.rgb() != initial.rgb()) {
    color = fromQColor(chosen);
  }
  return true;
}

void QtUserInterface::beep() { QApplication::beep(); }

int QtUserInterface::execModal(QDialog &dialog) { return dialog.exec(); }

void QtUserInterface::aboutQt(QWidget *owner) { QMessageBox::aboutQt(owner, QStringLiteral("Qt について")); }

namespace {

constexpr int kShowDelayMs = 400;

class QtProgressWindow : public ProgressWindow {
public:
  QtProgressWindow(QWidget *owner, const QString &text, std::function<void()> onCancel)
      : dialog_(owner, text, [this, onCancel = std::move(onCancel)] {
          // What is left of the task is only its end; the window stays away.
          cancelled_ = true;
          showTimer_.stop();
          onCancel();
        }) {
    // A quick task ends before the window would only flash.
    showTimer_.setSingleShot(true);
    QObject::connect(&showTimer_, &QTimer::timeout, &dialog_, [this] { dialog_.show(); });
    showTimer_.start(kShowDelayMs);
  }

  bool acceptsInput() const override { return dialog_.isVisible(); }

  void hold(bool held) override {
    showTimer_.stop();
    if (held) {
      dialog_.hide();
    } else if (!cancelled_) {
      showTimer_.start(kShowDelayMs);
    }
  }

private:
  QTimer showTimer_;
  ProgressDialog dialog_;
  bool cancelled_ = false;
};

} // namespace

std::unique_ptr<ProgressWindow> QtUserInterface::showProgress(QWidget *owner, const QString &text,
                                                              std::function<void()> onCancel) {
  return std::make_unique<QtProgressWindow>(owner, text, std::move(onCancel));
}

} // namespace kavrin
