#include "widgets/font_dialog.h"
#include "widgets/font_styles.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>

#include <gtest/gtest.h>

namespace kavrin {
namespace {

// Answers "その他の色..." itself, and picks entries as the user does: activated.
struct Dialog : FontColorDialog {
  explicit Dialog(const QFont &font, TColor color = clBlack) { setChoice(FontChoice{font, color}); }
  std::optional<QColor> askColor(const QColor &initial) override {
    asked = initial;
    return answer;
  }
  QComboBox &colors() { return *findChild<QComboBox *>(); }
  const QLabel &sample() const { return *findChild<QLabel *>("sample"); }
  void pick(const char *entry) {
    colors().setCurrentIndex(colors().findText(QString::fromUtf8(entry)));
    emit colors().activated(colors().currentIndex());
  }
  std::optional<QColor> answer;
  QColor asked;
};

TEST(FontColorDialog, AFontComesBackAsGivenAndPixelsAsPoints) {
  const QString family = QFontDatabase::families().value(0);
  // Family, points, pixels, hint, weight, italic, underline, strike-out, fixed pitch, raw.
  const QString cases[] = {
      family + ",10.5,-1,5,700,1,1,1,0,0",
      "ＭＳ ゴシック,9.75,-1,5,500,0,0,0,0,0",     // left to Qt's substitutes, as the lists lack both
      family.toLower() + ",10,-1,5,400,0,0,0,0,0", // QFont::substitutes() folds the case
      family + ",-1,12,5,400,0,0,0,0,0",
      family + ",-1,14,5,400,0,0,0,0,0", // a half point
      family + ",-1,21,5,400,0,0,0,0,0"};
  for (const QString &description : cases) {
    SCOPED_TRACE(description.toStdString());
    QFont given;
    given.fromString(description);
    Dialog dialog(given);
    const QFont back = dialog.choice().font;
    if (given.pixelSize() > 0) {
      EXPECT_EQ(qRound(back.pointSizeF() * dialog.logicalDpiY() / 72.0), given.pixelSize());
      given.setPointSizeF(back.pointSizeF());
    }
    EXPECT_EQ(back.toString(), given.toString());
  }
}

TEST(FontColorDialog, APickedStyleReachesTheFont) {
  Dialog dialog{QFont()};
  QListWidget *styles = dialog.findChildren<QListWidget *>().at(1);
  EXPECT_EQ(styles->currentItem()->text(), "標準"); // the font's own style is marked
  styles->setCurrentRow(styles->count() - 1);       // the heaviest italic
  EXPECT_TRUE(dialog.choice().font.italic() && dialog.choice().font.bold());
  EXPECT_TRUE(dialog.sample().font().italic());
  // Alt+Y goes to the style list, as its field only shows the choice.
  QStringList buddies;
  for (const QLabel *label : dialog.findChildren<QLabel *>()) {
    buddies << label->text() + (label->buddy() ? label->buddy()->metaObject()->className() : "");
  }
  EXPECT_EQ(buddies.mid(0, 3).join(' '),
            "フォント名(&F):QLineEdit スタイル(&Y):QListWidget サイズ(&S):QLineEdit");
  // A font's own English style names are shown in Japanese, once each.
  const QStringList families = QFontDatabase::families();
  const auto bold = std::find_if(families.begin(), families.end(),
                                 [](const QString &f) { return QFontDatabase::styles(f).contains("Bold"); });
  QStringList names;
  for (const FontStyle &style : fontStyles(bold == families.end() ? QString() : *bold)) {
    names << style.name;
  }
  EXPECT_TRUE(!names.contains("Bold") && names.removeDuplicates() == 0) << names.join(",").toStdString();
}

TEST(FontColorDialog, AColourIsStoredWithRedInTheLowByteAndASystemColourIsKept) {
  Dialog dialog(QFont(), 0x80000008); // a system colour: black, yet not 黒
  dialog.answer = toQColor(0x80000008, dialog.palette());
  dialog.pick("その他の色..."); // confirmed as shown
  EXPECT_EQ(dialog.choice().color, TColor{0x80000008});
  dialog.setChoice(FontChoice{QFont(), 0x123456}); // not listed: an extra entry keeps it
  EXPECT_EQ(dialog.choice().color, TColor{0x123456});
  dialog.pick("赤");
  EXPECT_EQ(dialog.choice().color, TColor{0x0000FF});
  EXPECT_EQ(dialog.sample().palette().color(QPalette::WindowText), QColor(Qt::red));
  dialog.setChoice(FontChoice{QFont(), 0x008000}); // a listed colour drops the extra entry
  EXPECT_EQ(dialog.colors().count(), 17);
  const std::pair<std::optional<QColor>, TColor> answers[] = {{std::nullopt, 0x008000},
                                                              {QColor(1, 2, 3), 0x030201},
                                                              {QColor(4, 5, 6), 0x060504},
                                                              {Qt::blue, 0xFF0000}};
  for (const auto &[answer, stored] : answers) {
    const TColor before = dialog.choice().color;
    dialog.answer = answer;
    dialog.pick("その他の色...");
    EXPECT_EQ(dialog.asked, toQColor(before, dialog.palette())); // the colour shown so far
    EXPECT_EQ(dialog.choice().color, stored) << stored;
  }
  EXPECT_EQ(dialog.colors().count(), 18); // a second custom colour replaces the first
  EXPECT_EQ(dialog.colors().currentText(), QStringLiteral("青"));
}

} // namespace
} // namespace kavrin
