#include "logic/keyword_palette.h"
#include "platform/colors.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <algorithm>

namespace kavrin {
namespace {

TEST(KeywordPalette, EveryColourIsReadableAndItsOwn) {
  const struct {
    const char *name;
    QColor background;
  } cases[] = {
      {"white", Qt::white},
      {"black", Qt::black},
      {"window colour", toQColor(clWindow, QGuiApplication::palette())},
      {"navy", QColor(0x00, 0x00, 0x80)},
      {"yellow", Qt::yellow},
      {"blue", Qt::blue},
      {"mid grey", QColor(0x80, 0x80, 0x80)},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    const KeywordPalette p = keywordPalette(c.background);
    const QColor colours[] = {
        p.lineNumber, p.keyword, p.string, p.comment, p.label, p.sourceComment, findingColour(c.background)};
    // As far as black or white gets, where neither reaches 4.5.
    const double least = std::min(
        4.5, std::max(contrastRatio(Qt::black, c.background), contrastRatio(Qt::white, c.background)));
    for (int i = 0; i < 7; ++i) {
      EXPECT_GE(contrastRatio(colours[i], c.background), least)
          << i << ' ' << colours[i].name().toStdString();
      for (int j = 0; j < i; ++j) {
        EXPECT_NE(colours[i], colours[j]) << i << ' ' << j;
      }
    }
  }
}

// Text reads from 3:1 up; black or white is the one that contrasts more.
TEST(TextContrast, ReadsFromThreeToOneAndBlackOrWhiteIsTheBetter) {
  EXPECT_DOUBLE_EQ(contrastRatio(Qt::white, Qt::black), 21.0);
  const struct {
    QRgb text;
    QRgb background;
    bool reads;
    QRgb better; // on the background
  } rows[] = {
      {0x000000, 0xFFFFFF, true, 0x000000},  {0x000000, 0x000000, false, 0xFFFFFF},
      {0x949494, 0xFFFFFF, true, 0x000000},  {0x959595, 0xFFFFFF, false, 0x000000},
      {0x5A5A5A, 0x000000, true, 0xFFFFFF},  {0x595959, 0x000000, false, 0xFFFFFF},
      {0x000000, 0x757575, true, 0xFFFFFF},  {0xFFFFFF, 0x767676, true, 0x000000},
      {0xFFFFFF, 0xFFFF00, false, 0x000000}, {0x000000, 0x000080, false, 0xFFFFFF},
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(::testing::Message() << std::hex << row.text << " on " << row.background);
    EXPECT_EQ(readsOn(QColor(row.text), QColor(row.background)), row.reads);
    EXPECT_EQ(blackOrWhiteOn(QColor(row.background)), QColor(row.better));
  }
}

} // namespace
} // namespace kavrin
