#include "editing/completion.h"

#include "support/text_buffer.h"

#include <QHash>

#include <gtest/gtest.h>

#include <tuple>

namespace kavrin {
namespace {

using testing::TextBuffer;

// "[...]" marks the selection, "[]" the caret.
TextBuffer marked(QString text) {
  const auto start = static_cast<int>(text.indexOf(u'['));
  const auto end = static_cast<int>(text.indexOf(u']'));
  TextBuffer edit(text.remove(u'[').remove(u']'));
  edit.select(start, end - start - 1);
  return edit;
}

QString shown(const TextBuffer &edit) {
  return QString(edit.text()).insert(edit.selStart() + edit.selLength(), u']').insert(edit.selStart(), u'[');
}

const QStringList kP{"PLAY", "POKE", "PRESET", "PRINT", "PSET"};

// Text, list, steps, the text shown after each step, beeps.  Steps: T = TAB,
// B = Shift+TAB, X = the list emptied; other keys end the cycle: + = Shift,
// < = Backspace, ^ = Esc, A = the A key.
const std::tuple<QString, QStringList, const char *, QStringList, int> kCases[] = {
    {"10 pri[]", {"PLAY", "PRINT", "RUN"}, "TTT", {"10 pri[NT]", "10 pri[]", "10 pri[NT]"}, 1},
    {"P[]", kP, "TTTTTTT", {"P[LAY]", "P[OKE]", "P[RESET]", "P[RINT]", "P[SET]", "P[]", "P[LAY]"}, 1},
    {"P[]", kP, "BBBBBBB", {"P[SET]", "P[RINT]", "P[RESET]", "P[OKE]", "P[LAY]", "P[]", "P[SET]"}, 1},
    {"P[]", kP, "TBBTT", {"P[LAY]", "P[]", "P[SET]", "P[]", "P[LAY]"}, 2},
    // No letter before the caret, or none that begins an entry: the whole
    // cycle only beeps.
    {"A$[]", {"PRINT", "A"}, "TTB", {"A$[]", "A$[]", "A$[]"}, 3},
    {"[]PRINT", {"PRINT", "A"}, "T", {"[]PRINT"}, 1},
    {"10 A\n[]", {"PRINT", "A"}, "T", {"10 A\n[]"}, 1},
    {"10 XYZ[]", kP, "TT", {"10 XYZ[]", "10 XYZ[]"}, 2},
    // The longest tail of the word that begins an entry.
    {"THENPRI[]", {"PRINT", "THEN", "NPRX"}, "TT", {"THENPRI[NT]", "THENPRI[]"}, 1},
    {"THENPRI[]", {"PRINT", "NPRINX"}, "T", {"THENPRI[NX]"}, 0},
    {"C\nPRI[]", {"CPRINT", "PRINT"}, "T", {"C\nPRI[NT]"}, 0},
    {"あPRI[]", {"PRINT"}, "T", {"あPRI[NT]"}, 0},
    {"XXXXXXXXXXPRI[]", {"PRINT", "RUN"}, "T", {"XXXXXXXXXXPRI[NT]"}, 0},
    // Entries: capitals only, the first run only, empty ones never.
    {"pri[]", {"print", "Print", "PRINT"}, "TT", {"pri[NT]", "pri[]"}, 1},
    {"PR[]", {"PRESET", "PRINT", "RUN", "PROC"}, "TTT", {"PR[ESET]", "PR[INT]", "PR[]"}, 1},
    {"P[]", {"", "PRINT", ""}, "TT", {"P[RINT]", "P[]"}, 1},
    {"RUN[]", {"RUN", "RUNX"}, "TT", {"RUN[]", "RUN[X]"}, 0},
    {"PR[]", {"PRINT ", "PRINTあ"}, "TT", {"PR[INT ]", "PR[INTあ]"}, 0},
    {"PRI[xyz]", {"PRINT"}, "T", {"PRI[NT]"}, 0},
    {"PR[]", {"PRINT"}, "TXT^T", {"PR[INT]", "PR[INT]", "PR[INT]", "PR[INT]", "PR[INT]"}, 2},
    // Shift does not end the cycle; Backspace and Esc leave the tail
    // selected; a failed cycle leaves the user's selection.
    {"PRI[]", {"PRINT"}, "T+T", {"PRI[NT]", "PRI[NT]", "PRI[]"}, 1},
    {"PRI[]", {"PRINT"}, "TAT", {"PRI[NT]", "PRINT[]", "PRINT[]"}, 0},
    {"PRI[]", {"PRINT"}, "T<T", {"PRI[NT]", "PRI[NT]", "PRI[NT]"}, 0},
    {"PRI[]", {"PRINT"}, "T^", {"PRI[NT]", "PRI[NT]"}, 0},
    {"[10 ]PRINT", {"RUN"}, "TA", {"[10 ]PRINT", "[10 ]PRINT"}, 1},
};

TEST(Completion, StepsThroughTheRing) {
  for (const auto &[text, list, steps, expected, expectedBeeps] : kCases) {
    SCOPED_TRACE(text.toStdString() + " " + steps);
    TextBuffer edit = marked(text);
    QStringList keywords = list;
    CompletionState state;
    int beeps = 0;
    QStringList seen;
    for (const char *s = steps; *s != '\0'; ++s) {
      if (*s == 'T' || *s == 'B') {
        beeps += completeKeyword(edit, keywords, *s == 'B', state) ? 1 : 0;
      } else if (*s == 'X') {
        keywords.clear();
      } else {
        static const QHash<char, int> keys{
            {'+', Qt::Key_Shift}, {'<', Qt::Key_Backspace}, {'^', Qt::Key_Escape}};
        endCompletionOnKey(edit, state, keys.value(*s, *s));
      }
      seen << shown(edit);
    }
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(beeps, expectedBeeps);
  }
}

} // namespace
} // namespace kavrin
