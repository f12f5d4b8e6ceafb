#include "editing/completion.h"

#include "support/text_buffer.h"

#include <gtest/gtest.h>

namespace kavrin {
namespace {

using testing::TextBuffer;

// Presses TAB (or Shift+TAB) on a buffer, keeping count of the beeps.
struct Cycle {
  TextBuffer edit;
  QStringList keywords;
  CompletionState state;
  int beeps = 0;

  Cycle(const QString &marked, QStringList list)
      : edit(TextBuffer::withCaret(marked)), keywords(std::move(list)) {}

  Cycle &tab(bool backwards = false) {
    beeps += completeKeyword(edit, keywords, backwards, state) ? 1 : 0;
    return *this;
  }
  Cycle &backtab() { return tab(true); }
  // The text with the selection shown in brackets.
  QString shown() const {
    QString t = edit.text();
    t.insert(edit.selStart() + edit.selLength(), u']');
    t.insert(edit.selStart(), u'[');
    return t;
  }
};

const QStringList kP{QStringLiteral("PLAY"), QStringLiteral("POKE"), QStringLiteral("PRESET"),
                     QStringLiteral("PRINT"), QStringLiteral("PSET")};

TEST(CompletionRing, SingleMatchAlternatesWithTheTypedLettersAlone) {
  Cycle c("10 PRI|", {"PLAY", "PRINT", "RUN"});
  EXPECT_EQ(c.tab().shown(), "10 PRI[NT]");
  EXPECT_EQ(c.beeps, 0);
  EXPECT_EQ(c.tab().shown(), "10 PRI[]");
  EXPECT_EQ(c.beeps, 1);
  EXPECT_EQ(c.tab().shown(), "10 PRI[NT]");
  EXPECT_EQ(c.beeps, 1);
  EXPECT_TRUE(c.state.CompActive);
  EXPECT_EQ(c.state.CompPrefix, "PRI");
}

TEST(CompletionRing, TypedLettersKeepTheirCase) {
  Cycle c("10 pri|", {"PRINT"});
  EXPECT_EQ(c.tab().shown(), "10 pri[NT]");
}

TEST(CompletionRing, ForwardRunsThroughEveryMatchThenTheLettersAlone) {
  Cycle c("P|", kP);
  QStringList seen;
  for (int i = 0; i < 7; ++i) {
    seen << c.tab().shown();
  }
  EXPECT_EQ(seen, QStringList({"P[LAY]", "P[OKE]", "P[RESET]", "P[RINT]", "P[SET]", "P[]", "P[LAY]"}));
  EXPECT_EQ(c.beeps, 1);
}

TEST(CompletionRing, BackwardStartsAtTheLastMatchAndWalksBack) {
  Cycle c("P|", kP);
  QStringList seen;
  for (int i = 0; i < 7; ++i) {
    seen << c.backtab().shown();
  }
  EXPECT_EQ(seen, QStringList({"P[SET]", "P[RINT]", "P[RESET]", "P[OKE]", "P[LAY]", "P[]", "P[SET]"}));
  EXPECT_EQ(c.beeps, 1);
}

TEST(CompletionRing, DirectionsMixOnTheSameRing) {
  Cycle c("P|", kP);
  EXPECT_EQ(c.tab().shown(), "P[LAY]");
  EXPECT_EQ(c.backtab().shown(), "P[]"); // from the first entry back to the letters alone
  EXPECT_EQ(c.backtab().shown(), "P[SET]");
  EXPECT_EQ(c.tab().shown(), "P[]");
  EXPECT_EQ(c.tab().shown(), "P[LAY]");
  EXPECT_EQ(c.beeps, 2);
}

TEST(CompletionStart, NoLetterBeforeTheCaretFailsTheWholeCycle) {
  for (const char *marked : {"10|", "A$|", "10 |", "\"|", "|PRINT", "10 PRINT\n|", "あ|"}) {
    Cycle c(marked, {"PRINT", "A"});
    const QString before = c.edit.text();
    c.tab().tab().backtab();
    EXPECT_EQ(c.edit.text(), before) << marked;
    EXPECT_EQ(c.beeps, 3) << marked;
    EXPECT_EQ(c.state.CompIndex, CompletionState::kNoMatch) << marked;
  }
}

TEST(CompletionStart, NoMatchingEntryBeeps) {
  Cycle c("10 XYZ|", kP);
  c.tab();
  EXPECT_EQ(c.shown(), "10 XYZ[]");
  EXPECT_EQ(c.beeps, 1);
  EXPECT_TRUE(c.state.CompActive);
}

TEST(CompletionStart, LongestMatchingTailOfTheWordWins) {
  Cycle c("10 IF A THENPRI|", {"PRINT", "THEN", "NPRX"});
  EXPECT_EQ(c.tab().shown(), "10 IF A THENPRI[NT]");
  EXPECT_EQ(c.state.CompPrefix, "PRI");
  // A longer tail that matches is preferred over a shorter one.
  Cycle d("10 IF A THENPRI|", {"PRINT", "NPRINT"});
  EXPECT_EQ(d.tab().shown(), "10 IF A THENPRI[NT]");
  EXPECT_EQ(d.state.CompPrefix, "NPRI");
  EXPECT_EQ(d.state.CompFirst, 1);
}

TEST(CompletionStart, TheWordStopsAtLineBreaksAndNonLetters) {
  Cycle c("C\nPRI|", {"CPRINT", "PRINT"});
  EXPECT_EQ(c.tab().shown(), "C\nPRI[NT]");
  Cycle d("あPRI|", {"PRINT"});
  EXPECT_EQ(d.tab().shown(), "あPRI[NT]");
}

TEST(CompletionStart, AWordLongerThanEveryEntryStillFindsItsTail) {
  Cycle c(QString(5000, u'X') + "PRI|", {"PRINT", "RUN"});
  EXPECT_EQ(c.tab().edit.selText(), "NT");
}

TEST(CompletionEntries, OnlyCapitalisedEntriesMatch) {
  Cycle c("pri|", {"print", "Print", "PRINT"});
  c.tab();
  EXPECT_EQ(c.state.CompFirst, 2);
  EXPECT_EQ(c.state.CompEnd, 3);
}

TEST(CompletionEntries, OnlyTheFirstRunOfMatchesIsOffered) {
  Cycle c("PR|", {"PRESET", "PRINT", "RUN", "PROC"});
  c.tab();
  EXPECT_EQ(c.state.CompFirst, 0);
  EXPECT_EQ(c.state.CompEnd, 2);
  c.tab().tab();
  EXPECT_EQ(c.shown(), "PR[]");
}

TEST(CompletionEntries, EmptyEntriesNeverMatch) {
  Cycle c("P|", {"", "PRINT", ""});
  EXPECT_EQ(c.tab().shown(), "P[RINT]");
  EXPECT_EQ(c.state.CompEnd, 2);
}

TEST(CompletionEntries, AnEntryEqualToTheLettersAddsNothingAndDoesNotBeep) {
  Cycle c("10 RUN|", {"RUN", "RUNX"});
  EXPECT_EQ(c.tab().shown(), "10 RUN[]");
  EXPECT_EQ(c.beeps, 0);
  EXPECT_EQ(c.tab().shown(), "10 RUN[X]");
}

TEST(CompletionEntries, BlanksAndKanaInEntriesAreInserted) {
  Cycle c("PR|", {"PRINT ", "PRINTあ"});
  EXPECT_EQ(c.tab().shown(), "PR[INT ]");
  EXPECT_EQ(c.tab().shown(), "PR[INTあ]");
}

TEST(CompletionEntries, TheSelectionIsReplacedByTheTail) {
  Cycle c("10 PRIxyz", {"PRINT"});
  c.edit.select(6, 3);
  EXPECT_EQ(c.tab().shown(), "10 PRI[NT]");
}

TEST(CompletionEntries, AnEmptiedListOnlyBeeps) {
  Cycle c("PR|", {"PRINT", "PRESET"});
  c.tab();
  c.keywords.clear();
  c.tab().backtab();
  EXPECT_EQ(c.beeps, 2);
  c.state.CompActive = false;
  c.tab();
  EXPECT_EQ(c.beeps, 3);
}

TEST(CompletionEnd, AnyKeyButShiftKeepsTheShownTail) {
  Cycle c("10 PRI|", {"PRINT"});
  c.tab();
  endCompletionOnKey(c.edit, c.state, Qt::Key_Shift);
  EXPECT_TRUE(c.state.CompActive);
  EXPECT_EQ(c.shown(), "10 PRI[NT]");
  endCompletionOnKey(c.edit, c.state, Qt::Key_A);
  EXPECT_FALSE(c.state.CompActive);
  EXPECT_EQ(c.shown(), "10 PRINT[]");
}

TEST(CompletionEnd, BackspaceAndEscLeaveTheTailSelected) {
  for (const int key : {Qt::Key_Backspace, Qt::Key_Escape}) {
    Cycle c("10 PRI|", {"PRINT"});
    c.tab();
    endCompletionOnKey(c.edit, c.state, key);
    EXPECT_FALSE(c.state.CompActive);
    EXPECT_EQ(c.shown(), "10 PRI[NT]");
  }
}

TEST(CompletionEnd, AFailedCycleLeavesTheUsersSelectionAlone) {
  Cycle c("10 PRINT", {"RUN"});
  c.edit.select(0, 3);
  c.tab();
  EXPECT_EQ(c.beeps, 1);
  endCompletionOnKey(c.edit, c.state, Qt::Key_Delete);
  EXPECT_EQ(c.shown(), "[10 ]PRINT");
}

TEST(CompletionEnd, ANewCycleStartsAfterTheEnd) {
  Cycle c("PR|", kP);
  c.tab();
  endCompletionOnKey(c.edit, c.state, Qt::Key_Space);
  c.edit.setSelText(" P");
  EXPECT_EQ(c.tab().shown(), "PRESET P[LAY]");
}

} // namespace
} // namespace kavrin
