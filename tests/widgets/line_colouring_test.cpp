#include "platform/cp932.h"
#include "widgets/program_editor.h"

#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

namespace kavrin {
namespace {

// Marks the digits that start a line in `color`.
LineColouring numbersIn(const QColor *color) {
  return [color](QStringView line, QList<QTextLayout::FormatRange> &formats) {
    int n = 0;
    while (n < line.size() && line[n].isDigit()) {
      ++n;
    }
    if (n > 0) {
      QTextCharFormat format;
      format.setForeground(*color);
      formats.append({0, n, format});
    }
  };
}

class LineColouring : public ::testing::Test {
protected:
  void SetUp() override {
    QStringList lines;
    for (int i = 1; i <= 1000; ++i) {
      lines << QStringLiteral("%1 PRINT %1").arg(i * 10);
    }
    edit.setText(lines.join(u'\n'));
    edit.resize(300, 200);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    edit.setLineColouring(numbersIn(&color));
    paint();
  }
  void paint() { edit.viewport()->repaint(); }
  QList<QTextLayout::FormatRange> formatsOf(int line) {
    return edit.document()->findBlockByNumber(line).layout()->formats();
  }
  int colouredLength(int line) {
    const auto formats = formatsOf(line);
    return formats.isEmpty() ? 0 : formats[0].length;
  }

  QColor color = Qt::blue;
  ProgramEditor edit;
};

TEST_F(LineColouring, OnlyLinesOnScreenAreColoured) {
  EXPECT_EQ(colouredLength(0), 2);
  EXPECT_EQ(colouredLength(999), 0);
  edit.verticalScrollBar()->setValue(edit.verticalScrollBar()->maximum());
  paint();
  EXPECT_EQ(colouredLength(999), 5);
}

TEST_F(LineColouring, AnEditedLineIsColouredAfresh) {
  const struct {
    const char *what;
    int pos;
    int removed;
    const char *inserted;
    int line;
    int coloured;
  } cases[] = {
      {"digits typed at the start", 0, 0, "7", 0, 3},
      {"the number deleted", 0, 2, "", 0, 0},
      {"a line split after its number", 2, 0, "\n4", 1, 1},
      {"a line joined into the one above", 0, 14, "", 0, 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    edit.setSelStart(c.pos);
    edit.setSelLength(c.removed);
    edit.setSelText(QString::fromUtf8(c.inserted));
    paint();
    EXPECT_EQ(colouredLength(c.line), c.coloured);
    edit.undo();
    paint();
    EXPECT_EQ(colouredLength(0), 2);
  }
}

TEST_F(LineColouring, OffLeavesNoFormatsAndNoTrace) {
  edit.verticalScrollBar()->setValue(500);
  paint();
  edit.setLineColouring({});
  for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next()) {
    ASSERT_TRUE(block.layout()->formats().isEmpty()) << block.blockNumber();
  }
  EXPECT_FALSE(edit.modified());
  EXPECT_FALSE(edit.document()->isUndoAvailable());
}

TEST_F(LineColouring, PlaceholdersStayMarked) {
  edit.setText(QStringLiteral("10 PRINT \uF780"));
  ASSERT_TRUE(cp932::isReserved(0xF780));
  paint();
  EXPECT_TRUE(edit.marksPlaceholders());
  const auto formats = formatsOf(0);
  ASSERT_EQ(formats.size(), 2);
  EXPECT_EQ(formats[1].start, 9);
  EXPECT_TRUE(formats[1].format.hasProperty(QTextFormat::BackgroundBrush));
  edit.setLineColouring({});
  QCoreApplication::processEvents(); // the highlighter marks them later
  EXPECT_TRUE(edit.marksPlaceholders());
  EXPECT_EQ(formatsOf(0).size(), 1);
}

} // namespace
} // namespace kavrin
