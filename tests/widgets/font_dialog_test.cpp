#include "widgets/font_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

namespace kavrin {
namespace {

QComboBox &colorBox(FontColorDialog &dialog) {
  auto *box = dialog.findChild<QComboBox *>();
  EXPECT_NE(box, nullptr);
  return *box;
}

QCheckBox &checkBox(FontColorDialog &dialog, const QString &text) {
  for (QCheckBox *box : dialog.findChildren<QCheckBox *>()) {
    if (box->text() == text) {
      return *box;
    }
  }
  ADD_FAILURE() << "no check box " << text.toStdString();
  static QCheckBox none;
  return none;
}

QLabel &sample(FontColorDialog &dialog) {
  for (QLabel *label : dialog.findChildren<QLabel *>()) {
    if (label->text().startsWith(QStringLiteral("AaBb"))) {
      return *label;
    }
  }
  ADD_FAILURE() << "no sample";
  static QLabel none;
  return none;
}

// Picks an entry of the colour box as the keyboard does, so that the box
// reports it as the user's choice.
void pickColor(FontColorDialog &dialog, const QString &text) {
  QComboBox &box = colorBox(dialog);
  const int target = box.findText(text);
  ASSERT_GE(target, 0) << text.toStdString();
  QTest::keyClick(&box, Qt::Key_Home);
  for (int i = 0; i < target; ++i) {
    QTest::keyClick(&box, Qt::Key_Down);
  }
  ASSERT_EQ(box.currentIndex(), target);
}

QString anInstalledFamily() {
  const QStringList families = QFontDatabase::families();
  return families.isEmpty() ? QStringLiteral("Sans") : families.first();
}

QFont pointFont(const QString &family, double points) {
  QFont font(family);
  font.setPointSizeF(points);
  return font;
}

// Answers "その他の色..." from the test instead of a real colour dialog.
class AnsweredDialog : public FontColorDialog {
public:
  std::optional<QColor> answer;
  std::optional<QColor> askedWith;

protected:
  std::optional<QColor> askColor(const QColor &initial) override {
    askedWith = initial;
    return answer;
  }
};

// Font --------------------------------------------------------------------

TEST(FontColorDialogFont, APointFontWithEveryEffectComesBackUnchanged) {
  QFont font = pointFont(anInstalledFamily(), 10.5);
  font.setBold(true);
  font.setItalic(true);
  font.setUnderline(true);
  font.setStrikeOut(true);
  FontColorDialog dialog;
  dialog.setChoice(FontChoice{font, clBlack});
  const QFont back = dialog.choice().font;
  EXPECT_EQ(back.family(), font.family());
  EXPECT_EQ(back.pointSizeF(), 10.5);
  EXPECT_EQ(back.weight(), QFont::Bold);
  EXPECT_TRUE(back.italic());
  EXPECT_TRUE(back.underline());
  EXPECT_TRUE(back.strikeOut());
}

TEST(FontColorDialogFont, AFamilyOrWeightTheListsLackIsKeptAsGiven) {
  // The editor asks for the Windows name and leaves the rest to Qt's
  // substitutes; the dialog must not swap in a listed family.
  QFont font = pointFont(QStringLiteral("ＭＳ ゴシック"), 9.75);
  font.setWeight(QFont::Medium);
  FontColorDialog dialog;
  dialog.setChoice(FontChoice{font, clBlack});
  const QFont back = dialog.choice().font;
  EXPECT_EQ(back.family(), QStringLiteral("ＭＳ ゴシック"));
  EXPECT_EQ(back.pointSizeF(), 9.75);
  EXPECT_EQ(back.weight(), QFont::Medium);
  EXPECT_FALSE(back.italic());
}

TEST(FontColorDialogFont, AFamilySpeltInAnotherCaseKeepsItsSpelling) {
  // QFont::substitutes() gives lower-case names, so the editor's font can
  // be "ipagothic" while the list says "IPAGothic".
  const QString lower = anInstalledFamily().toLower();
  FontColorDialog dialog;
  dialog.setChoice(FontChoice{pointFont(lower, 10), clBlack});
  EXPECT_EQ(dialog.choice().font.family(), lower);
}

TEST(FontColorDialogFont, ATypedFamilyIsTheOneTheListShows) {
  QStringList families = QFontDatabase::families();
  families.removeIf([](const QString &name) { return QFontDatabase::isPrivateFamily(name); });
  ASSERT_GE(families.size(), 2);
  const QString wanted = families.last();
  FontColorDialog dialog;
  dialog.setChoice(FontChoice{pointFont(families.first(), 10), clBlack});
  auto *edit = dialog.findChild<QLineEdit *>();
  ASSERT_NE(edit, nullptr);
  ASSERT_EQ(edit->text(), families.first());

  edit->selectAll();
  QTest::keyClicks(edit, wanted.toLower());
  EXPECT_EQ(dialog.choice().font.family(), wanted);

  edit->selectAll();
  QTest::keyClicks(edit, wanted.left(wanted.size() - 1));
  QListWidget *list = nullptr;
  for (QListWidget *candidate : dialog.findChildren<QListWidget *>()) {
    if (!candidate->findItems(wanted, Qt::MatchExactly).isEmpty()) {
      list = candidate;
    }
  }
  ASSERT_NE(list, nullptr);
  ASSERT_NE(list->currentItem(), nullptr);
  EXPECT_EQ(dialog.choice().font.family(), list->currentItem()->text());
}

TEST(FontColorDialogFont, APixelFontIsReturnedInPointsOfTheSameHeight) {
  const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
  for (int pixels : {12, 13, 16, 21}) {
    QFont font(anInstalledFamily());
    font.setPixelSize(pixels);
    FontColorDialog dialog;
    dialog.setChoice(FontChoice{font, clBlack});
    const QFont back = dialog.choice().font;
    EXPECT_EQ(back.pixelSize(), -1) << pixels;
    ASSERT_GT(back.pointSizeF(), 0) << pixels;
    EXPECT_EQ(qRound(back.pointSizeF() * dpi / 72.0), pixels);
    EXPECT_EQ(back.family(), font.family());
  }
}

TEST(FontColorDialogFont, TheEffectBoxesAndTheStyleListChangeTheFont) {
  FontColorDialog dialog;
  dialog.setChoice(FontChoice{pointFont(anInstalledFamily(), 12), clBlack});
  checkBox(dialog, QStringLiteral("下線(&U)")).click();
  FontChoice choice = dialog.choice();
  EXPECT_TRUE(choice.font.underline());
  EXPECT_FALSE(choice.font.strikeOut());
  checkBox(dialog, QStringLiteral("取り消し線(&K)")).click();
  checkBox(dialog, QStringLiteral("下線(&U)")).click();
  choice = dialog.choice();
  EXPECT_FALSE(choice.font.underline());
  EXPECT_TRUE(choice.font.strikeOut());
  EXPECT_EQ(choice.font.pointSizeF(), 12);

  QListWidget *styles = nullptr;
  for (QListWidget *list : dialog.findChildren<QListWidget *>()) {
    if (!list->findItems(QStringLiteral("太字 斜体"), Qt::MatchExactly).isEmpty()) {
      styles = list;
    }
  }
  ASSERT_NE(styles, nullptr);
  styles->setCurrentItem(styles->findItems(QStringLiteral("太字 斜体"), Qt::MatchExactly).first());
  choice = dialog.choice();
  EXPECT_GE(choice.font.weight(), QFont::Bold);
  EXPECT_TRUE(choice.font.italic());
  EXPECT_TRUE(sample(dialog).font().italic());
  EXPECT_TRUE(sample(dialog).font().strikeOut());
}

// Colour ------------------------------------------------------------------

TEST(FontColorDialogColor, AnUntouchedSystemColourComesBackAsTheSameValue) {
  for (TColor system : {TColor{0x80000008}, clWindow}) {
    FontColorDialog dialog;
    dialog.setChoice(FontChoice{pointFont(anInstalledFamily(), 10), system});
    EXPECT_EQ(colorBox(dialog).currentText(), QStringLiteral("カスタム"));
    checkBox(dialog, QStringLiteral("下線(&U)")).click();
    EXPECT_EQ(dialog.choice().color, system);
    EXPECT_EQ(sample(dialog).palette().color(QPalette::WindowText), toQColor(system, dialog.palette()));
  }
}

TEST(FontColorDialogColor, TheStandardEntriesGiveTheirColoursInTColorOrder) {
  const std::vector<std::pair<QString, QColor>> expected = {
      {QStringLiteral("黒"), QColor(0, 0, 0)},
      {QStringLiteral("マルーン"), QColor(128, 0, 0)},
      {QStringLiteral("緑"), QColor(0, 128, 0)},
      {QStringLiteral("オリーブ"), QColor(128, 128, 0)},
      {QStringLiteral("ネイビー"), QColor(0, 0, 128)},
      {QStringLiteral("紫"), QColor(128, 0, 128)},
      {QStringLiteral("ティール"), QColor(0, 128, 128)},
      {QStringLiteral("灰色"), QColor(128, 128, 128)},
      {QStringLiteral("シルバー"), QColor(192, 192, 192)},
      {QStringLiteral("赤"), QColor(255, 0, 0)},
      {QStringLiteral("ライム"), QColor(0, 255, 0)},
      {QStringLiteral("黄"), QColor(255, 255, 0)},
      {QStringLiteral("青"), QColor(0, 0, 255)},
      {QStringLiteral("フクシャ"), QColor(255, 0, 255)},
      {QStringLiteral("水色"), QColor(0, 255, 255)},
      {QStringLiteral("白"), QColor(255, 255, 255)},
  };
  FontColorDialog dialog;
  dialog.setChoice(FontChoice{pointFont(anInstalledFamily(), 10), clBlack});
  for (const auto &[name, color] : expected) {
    pickColor(dialog, name);
    EXPECT_EQ(toQColor(dialog.choice().color, dialog.palette()), color) << name.toStdString();
  }
  pickColor(dialog, QStringLiteral("マルーン"));
  EXPECT_EQ(dialog.choice().color, TColor{0x000080});
  EXPECT_EQ(sample(dialog).palette().color(QPalette::WindowText), QColor(128, 0, 0));
}

TEST(FontColorDialogColor, AColourOutsideTheListIsAnExtraEntryThatRoundTrips) {
  FontColorDialog dialog;
  dialog.setChoice(FontChoice{pointFont(anInstalledFamily(), 10), 0x123456});
  QComboBox &box = colorBox(dialog);
  EXPECT_EQ(box.count(), 18);
  EXPECT_EQ(box.currentText(), QStringLiteral("カスタム"));
  EXPECT_EQ(box.itemText(box.count() - 1), QStringLiteral("その他の色..."));
  EXPECT_EQ(dialog.choice().color, TColor{0x123456});
  pickColor(dialog, QStringLiteral("赤"));
  pickColor(dialog, QStringLiteral("カスタム"));
  EXPECT_EQ(dialog.choice().color, TColor{0x123456});

  // A later standard colour drops the extra entry again.
  dialog.setChoice(FontChoice{pointFont(anInstalledFamily(), 10), 0x008000});
  EXPECT_EQ(box.count(), 17);
  EXPECT_EQ(box.currentText(), QStringLiteral("緑"));
}

TEST(FontColorDialogColor, OtherColoursAsksAndCancelKeepsThePreviousEntry) {
  AnsweredDialog dialog;
  dialog.setChoice(FontChoice{pointFont(anInstalledFamily(), 10), 0x008000});
  QComboBox &box = colorBox(dialog);

  QTest::keyClick(&box, Qt::Key_End);
  ASSERT_TRUE(dialog.askedWith.has_value());
  EXPECT_EQ(*dialog.askedWith, QColor(0, 128, 0));
  EXPECT_EQ(box.currentText(), QStringLiteral("緑"));
  EXPECT_EQ(dialog.choice().color, TColor{0x008000});

  dialog.answer = QColor(1, 2, 3);
  QTest::keyClick(&box, Qt::Key_End);
  EXPECT_EQ(box.currentText(), QStringLiteral("カスタム"));
  EXPECT_EQ(dialog.choice().color, TColor{0x030201});

  // A second custom colour replaces the first rather than adding an entry.
  dialog.answer = QColor(4, 5, 6);
  QTest::keyClick(&box, Qt::Key_End);
  EXPECT_EQ(box.count(), 18);
  EXPECT_EQ(dialog.choice().color, TColor{0x060504});

  dialog.answer = QColor(0, 0, 255);
  QTest::keyClick(&box, Qt::Key_End);
  EXPECT_EQ(box.currentText(), QStringLiteral("青"));
  EXPECT_EQ(dialog.choice().color, TColor{0xFF0000});
}

TEST(FontColorDialogColor, ConfirmingASystemColourAsShownKeepsItASystemColour) {
  AnsweredDialog dialog;
  dialog.setChoice(FontChoice{pointFont(anInstalledFamily(), 10), 0x80000008});
  dialog.answer = toQColor(0x80000008, dialog.palette());
  QTest::keyClick(&colorBox(dialog), Qt::Key_End);
  EXPECT_EQ(dialog.choice().color, TColor{0x80000008});
}

} // namespace
} // namespace kavrin
