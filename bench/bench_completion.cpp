// TAB keyword completion with 10,000 keywords, the first TAB of a cycle and
// the further ones, in a large and a small document.
#include "app/main_window.h"
#include "editing/typing_aids.h"
#include "figures.h"
#include "logic/keyword_list.h"
#include "measure.h"
#include "sample_keywords.h"
#include "silent_ui.h"
#include "typing.h"
#include "widgets/program_editor.h"
#include "widgets/session.h"

#include <QTextBlock>
#include <QTextDocument>

namespace kavrin::bench {
namespace {

constexpr qsizetype kKeywordCount = 10'000;
constexpr int kTabWarmUps = 10;
// Samples of each TAB figure at each caret place, over all rounds.
constexpr int kTabSamples = 200;
constexpr int kTabRounds = 4;
// The typed word must stand for a run of entries, not pick out one.
constexpr int kLeastRun = 5;

// Late in the list, so that the search for its run passes most entries.
const QString kTypedWord = QStringLiteral("STRI");

struct TabTimes {
  std::vector<double> first;
  std::vector<double> further;
  // The repaint that follows each, not part of the figures.
  std::vector<double> firstRepaint;
  std::vector<double> furtherRepaint;
  // How many entries the typed word matches.
  int run = 0;
};

// Types a new line ending in kTypedWord after the line holding `pos`, so
// that the same line in every place and document leaves the document as the
// only difference, and returns the caret after the word.
int typeWordAfter(ProgramEditor &edit, int pos) {
  const QTextBlock line = edit.document()->findBlock(pos);
  const QString text = line.text();
  qsizetype digits = 0;
  while (digits < text.size() && text[digits].isDigit()) {
    ++digits;
  }
  // Numbered between this line and the next, as BASIC programmers do.
  const int number = text.left(digits).toInt() + 5;
  edit.setSelStart(line.position() + line.length() - 1);
  edit.setSelText(u'\n' + QString::number(number) + u' ' + kTypedWord);
  edit.ensureCursorVisible();
  settle();
  return edit.selStart();
}

// Times `samples` TABs of each kind with the caret after kTypedWord, typed
// after the line holding `pos`.
void measureTabsAt(MainWindow &window, int pos, int samples, TabTimes &times) {
  ProgramEditor &edit = window.editor();
  const CompletionState &cycle = window.feature<TypingAids>()->completion();
  const int caret = typeWordAfter(edit, pos);
  const int length = edit.textLength();

  // Esc ends the cycle leaving the shown tail selected, and Backspace
  // removes it: the text is back to the typed word.
  const auto endCycle = [&] {
    tapKey(window, Qt::Key_Escape);
    if (edit.selLength() > 0) {
      tapKey(window, Qt::Key_Backspace);
    }
    if (cycle.CompActive || edit.selStart() != caret || edit.selLength() != 0 ||
        edit.textLength() != length) {
      throw Failure(QStringLiteral("a completion cycle did not end as a user ends it"));
    }
  };
  const auto tab = [&](std::vector<double> &times, std::vector<double> &repaints, bool kept) {
    const double ms = millisecondsOf([&] { sendKey(window, Qt::Key_Tab, QEvent::KeyPress); });
    const double repaint = settle();
    sendKey(window, Qt::Key_Tab, QEvent::KeyRelease);
    settle();
    if (!cycle.CompActive) {
      throw Failure(QStringLiteral("TAB started no completion cycle"));
    }
    if (kept) {
      times.push_back(ms);
      repaints.push_back(repaint);
    }
  };

  for (int i = 0; i < kTabWarmUps + samples; ++i) {
    tab(times.first, times.firstRepaint, i >= kTabWarmUps);
    times.run = cycle.CompEnd - cycle.CompFirst;
    if (cycle.CompIndex < 0 || times.run < kLeastRun) {
      throw Failure(QStringLiteral("\"%1\" matches %2 entries").arg(kTypedWord).arg(times.run));
    }
    endCycle();
  }
  // Stepping round the ring passes every entry of the run and the typed
  // word alone.
  tapKey(window, Qt::Key_Tab);
  for (int i = 0; i < kTabWarmUps + samples; ++i) {
    tab(times.further, times.furtherRepaint, i >= kTabWarmUps);
  }
  endCycle();
}

void dumpPlace(const QString &where, const TabTimes &times) {
  note(QStringLiteral("%1: \"%2\" matches %3 entries").arg(where, kTypedWord).arg(times.run));
  dump(QStringLiteral("first TAB ms, ") + where, times.first, 3);
  dump(QStringLiteral("its repaint ms, ") + where, times.firstRepaint, 3);
  dump(QStringLiteral("further TAB ms, ") + where, times.further, 3);
  dump(QStringLiteral("its repaint ms, ") + where, times.furtherRepaint, 3);
}

} // namespace

std::vector<Row> completionFigures(const Workspace &work) {
  SilentUserInterface ui;
  const std::unique_ptr<MainWindow> window = typingMainWindow(ui, work.settings.none);
  const QStringList keywords = makeKeywordList(
      loadKeywordList(keywordFilePath(window->session().paths().exeDir, QStringLiteral("qmsrcode.txt"))),
      kKeywordCount);
  const std::vector<KeyDocument> documents = writeKeyDocuments(work.dir, QStringLiteral("completion"));
  struct Places {
    TabTimes middle;
    TabTimes nearEnd;
  };
  std::vector<Places> times(documents.size());
  window->session().setKeywords(keywords);
  measureInRounds(*window, documents, kTabRounds, [&](std::size_t document, int pos, bool nearEnd) {
    measureTabsAt(*window, pos, kTabSamples / kTabRounds,
                  nearEnd ? times[document].nearEnd : times[document].middle);
  });
  for (std::size_t d = 0; d < documents.size(); ++d) {
    dumpPlace(documents[d].name + QStringLiteral(", middle"), times[d].middle);
    dumpPlace(documents[d].name + QStringLiteral(", near end"), times[d].nearEnd);
  }
  requireSilence(ui);

  std::vector<Row> rows;
  for (const bool further : {false, true}) {
    for (std::size_t d = 0; d < documents.size(); ++d) {
      const TabTimes &middle = times[d].middle;
      const TabTimes &nearEnd = times[d].nearEnd;
      const QString figure =
          QStringLiteral("keyword completion, %1 TAB, %2 document, 10,000 keywords")
              .arg(further ? QStringLiteral("further") : QStringLiteral("first"), documents[d].name);
      rows.push_back(further ? keyRow(figure, middle.further, nearEnd.further,
                                      joined(middle.furtherRepaint, nearEnd.furtherRepaint))
                             : keyRow(figure, middle.first, nearEnd.first,
                                      joined(middle.firstRepaint, nearEnd.firstRepaint)));
    }
  }
  return rows;
}

} // namespace kavrin::bench
