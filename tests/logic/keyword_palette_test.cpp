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
    const QColor colours[] = {p.lineNumber, p.keyword, p.string, p.comment, findingColour(c.background)};
    // As far as black or white gets, where neither reaches 4.5.
    const double least = std::min(
        4.5, std::max(contrastRatio(Qt::black, c.background), contrastRatio(Qt::white, c.background)));
    for (int i = 0; i < 5; ++i) {
      EXPECT_GE(contrastRatio(colours[i], c.background), least)
          << i << ' ' << colours[i].name().toStdString();
      for (int j = 0; j < i; ++j) {
        EXPECT_NE(colours[i], colours[j]) << i << ' ' << j;
      }
    }
  }
}

} // namespace
} // namespace kavrin
