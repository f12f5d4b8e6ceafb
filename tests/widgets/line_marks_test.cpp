#include "widgets/line_marks.h"

#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace kavrin {
namespace {

QString linesOf(const LineMarks &marks) {
  QStringList lines;
  for (int id = 0; id < marks.count(); ++id) {
    lines << QString::number(marks.lineOf(id));
  }
  return lines.join(u' ');
}

class LineMarksTest : public ::testing::Test {
protected:
  void SetUp() override { reset(); }
  void reset() {
    marks.clear();
    edit.setPlainText(QStringLiteral("10 A\n20 B\n30 C\n40 D"));
    for (int line = 0; line < 4; ++line) {
      marks.mark(line);
    }
  }
  // Selects from `anchor` to `position`, then types `keys`: '\n' is
  // Return, '\b' Backspace, '\x7f' Delete; more than one key is pasted.
  void type(int anchor, int position, const QString &keys) {
    QTextCursor cursor(edit.document());
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    edit.setTextCursor(cursor);
    if (keys.size() > 1) {
      edit.insertPlainText(keys);
      return;
    }
    const Qt::Key key = keys == u"\n"     ? Qt::Key_Return
                        : keys == u"\b"   ? Qt::Key_Backspace
                        : keys == u"\x7f" ? Qt::Key_Delete
                                          : Qt::Key_X;
    QTest::keyClick(&edit, key);
  }

  QPlainTextEdit edit;
  LineMarks marks{edit.document(), nullptr};
};

TEST_F(LineMarksTest, FollowTheirLineThroughEditsAndUndo) {
  const struct {
    const char *what;
    int anchor;
    int position;
    const char *keys;
    const char *after;  // the marks' lines after the edit
    const char *undone; // after undo; redo gives `after` again
  } cases[] = {
      {"Return at the start", 5, 5, "\n", "0 2 3 4", "0 1 2 3"},
      {"Return in the middle", 7, 7, "\n", "0 1 3 4", "0 1 2 3"},
      {"Return at the end", 9, 9, "\n", "0 1 3 4", "0 1 2 3"},
      {"lines pasted at the start", 5, 5, "a\nb\n", "0 3 4 5", "0 1 2 3"},
      {"lines pasted in front", 5, 5, "a\nb", "0 2 3 4", "0 1 2 3"},
      {"typed at the start", 5, 5, "x", "0 1 2 3", "0 1 2 3"},
      {"line number retyped", 5, 7, "x", "0 1 2 3", "0 1 2 3"},
      {"Backspace joins to the line above", 5, 5, "\b", "0 -1 1 2", "0 -1 2 3"},
      {"Delete joins the line below", 9, 9, "\x7f", "0 1 -1 2", "0 1 -1 3"},
      {"whole line with its break", 5, 10, "\x7f", "0 -1 1 2", "0 -1 2 3"},
      {"whole line with the break above", 4, 9, "\x7f", "0 -1 1 2", "0 -1 2 3"},
      {"typed over two line ends", 7, 12, "x", "0 1 -1 2", "0 1 -1 3"},
      {"typed from mid-line to a line start", 2, 10, "x", "0 -1 -1 1", "0 -1 -1 3"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    reset();
    type(c.anchor, c.position, QString::fromUtf8(c.keys));
    EXPECT_EQ(linesOf(marks), c.after);
    edit.undo();
    EXPECT_EQ(linesOf(marks), c.undone);
    edit.redo();
    EXPECT_EQ(linesOf(marks), c.after);
  }
}

TEST_F(LineMarksTest, AnEmptyLineThatIsJoinedGivesWayToTheLineBelow) {
  type(5, 5, QStringLiteral("\n"));
  marks.mark(1);                    // the new empty line
  QTextCursor all(edit.document()); // a change of format only
  all.select(QTextCursor::Document);
  all.mergeCharFormat(QTextCharFormat());
  EXPECT_EQ(linesOf(marks), "0 2 3 4 1");
  type(5, 5, QStringLiteral("\x7f"));
  EXPECT_EQ(linesOf(marks), "0 1 2 3 -1");
  edit.setPlainText(QStringLiteral("10 A\n"));
  EXPECT_EQ(linesOf(marks), "-1 -1 -1 -1 -1");
  marks.mark(1); // the empty last line
  type(5, 5, QStringLiteral("x"));
  type(6, 6, QStringLiteral("\n"));
  EXPECT_EQ(marks.lineOf(5), 1);
}

TEST_F(LineMarksTest, OwnersKeepTheirMarksApart) {
  auto other = std::make_unique<LineMarks>(edit.document(), nullptr);
  LineMarks third(edit.document(), nullptr);
  other->mark(1);
  third.mark(1);
  third.mark(1);
  type(5, 5, QStringLiteral("\n"));
  other.reset();
  marks.clear();
  type(0, 0, QStringLiteral("\n"));
  EXPECT_EQ(linesOf(third), "3 3");
  edit.setPlainText(QString());
  EXPECT_EQ(linesOf(third), "-1 -1");
}

TEST_F(LineMarksTest, AMarkLetGoIsGivenAgainAndARewriteTellsOfLinesItDeleted) {
  int told = 0;
  QObject::connect(&marks, &LineMarks::linesDeleted, [&told] { ++told; });
  marks.unmark(1);
  EXPECT_EQ(marks.mark(2), 1);
  marks.mark(1);
  LineMarks::followRewrite(edit.document(), {1, -1, 0, 2}, [this] { type(0, 19, "30 C\n10 A\n40 D"); });
  EXPECT_EQ(linesOf(marks), "1 0 0 2 -1");
  EXPECT_EQ(told, 1);
}

} // namespace
} // namespace kavrin
