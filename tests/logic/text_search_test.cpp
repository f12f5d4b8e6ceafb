#include "logic/text_search.h"

#include <QTextDocument>

#include <gtest/gtest.h>

namespace kavrin {
namespace {

TEST(TextSearch, ReplaceAllIsOneStepAndNeverReadsItsOwnReplacements) {
  const struct {
    const char *text;
    SearchOptions options;
    const char *replacement;
    int count;
    const char *result;
  } cases[] = {
      {"A A\nA", {"A"}, "AA", 3, "AA AA\nAA"},
      {"aaa", {"aa"}, "b", 1, "ba"},
      {"PRINT print LPRINT", {"print", true}, "?", 1, "PRINT ? LPRINT"},
      {"PRINT print LPRINT", {"print", false, true}, "?", 2, "? ? LPRINT"},
      {"10 END", {"GOTO"}, "X", 0, "10 END"},
      {"10 END", {""}, "X", 0, "10 END"},
      {"A", {"A"}, "漢字\u00e9", 1, "漢字\u00e9"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text);
    QTextDocument document;
    document.setPlainText(QString::fromUtf8(c.text));
    EXPECT_EQ(replaceAll(document, c.options, QString::fromUtf8(c.replacement)), c.count);
    QTextCursor(&document).insertText("#"); // a step of its own
    document.undo();
    EXPECT_EQ(document.toPlainText(), QString::fromUtf8(c.result));
    document.undo();
    EXPECT_EQ(document.toPlainText(), QString::fromUtf8(c.text));
  }
}

TEST(TextSearch, ASelectionIsAHitOnlyWhenItIsExactlyOne) {
  QTextDocument document(QStringLiteral("PRINT LPRINT print"));
  const struct {
    int start;
    int end;
    SearchOptions options;
    bool hit;
  } cases[] = {
      {0, 5, {"print"}, true},         {0, 5, {"print", true}, false}, {7, 12, {"PRINT", false, true}, false},
      {13, 18, {"print", true}, true}, {0, 4, {"PRINT"}, false},       {3, 3, {""}, false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.start);
    QTextCursor selection(&document);
    selection.setPosition(c.start);
    selection.setPosition(c.end, QTextCursor::KeepAnchor);
    EXPECT_EQ(isHit(document, selection, c.options), c.hit);
  }
}

} // namespace
} // namespace kavrin
