#pragma once

#include "report.h"

#include <QEvent>
#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

class QDir;

namespace kavrin {
class MainWindow;
class UserInterface;
} // namespace kavrin

namespace kavrin::bench {

// What the key figures share: keys sent as the window system sends them,
// and the documents and caret places they are timed in.

// How far before the end of the document "near the end" is: a few lines.
constexpr int kNearEndChars = 300;

// A key as the window system delivers it: through the shortcut map to the
// focused editor.  QTest::keyPress would also run the event loop, which
// paints; here the handling and the repaint are timed apart.
void sendKey(MainWindow &window, Qt::Key key, QEvent::Type type);

// What follows a key before the user sees its effect: the posted events,
// among them the repaint of what the key changed.  Returns its time in ms.
double settle();

// Press, release and settle, untimed.
void tapKey(MainWindow &window, Qt::Key key);

// The shown window with the focus in the editor, where typed keys go.
std::unique_ptr<MainWindow> typingMainWindow(UserInterface &ui, const QString &iniFile);

// Times `samples` letters typed into the middle of a line near `pos`, after
// `warmUps` untimed, each with the repaint that shows it; each is taken
// back untimed.
void timeLettersAt(MainWindow &window, int pos, int warmUps, int samples, std::vector<double> &ms);

std::vector<double> joined(std::vector<double> a, const std::vector<double> &b);

// A key's row, judged on the slower caret place; both are shown, and the
// repaint that the user waits for as well.
Row keyRow(const QString &figure, const std::vector<double> &middle, const std::vector<double> &nearEnd,
           const std::vector<double> &repaints);

// A document a key is timed in; the key figures compare a large one with a
// small one, so that a cost growing with the text shows.
struct KeyDocument {
  QString name;
  qsizetype bytes;
  QString path;
};

// The 1 MiB and 64 KiB documents, written into `dir` as "prefix-BYTES.txt".
std::vector<KeyDocument> writeKeyDocuments(const QDir &dir, const QString &prefix);

// Calls `measureAt(document, pos, nearEnd)` in the middle of each document
// and near its end, in `rounds` rounds that alternate the documents, so that
// a busy moment of the machine does not fall on one document only.
void measureInRounds(MainWindow &window, const std::vector<KeyDocument> &documents, int rounds,
                     const std::function<void(std::size_t document, int pos, bool nearEnd)> &measureAt);

} // namespace kavrin::bench
