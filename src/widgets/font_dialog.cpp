#include "widgets/font_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <iterator>

namespace kavrin {
namespace {

struct NamedColor {
  TColor color;
  const char *name;
};

// The colours the Windows font dialog lists, in its order.
constexpr NamedColor kStandardColors[] = {
    {0x000000, "黒"},       {0x000080, "マルーン"}, {0x008000, "緑"},       {0x008080, "オリーブ"},
    {0x800000, "ネイビー"}, {0x800080, "紫"},       {0x808000, "ティール"}, {0x808080, "灰色"},
    {0xC0C0C0, "シルバー"}, {0x0000FF, "赤"},       {0x00FF00, "ライム"},   {0x00FFFF, "黄"},
    {0xFF0000, "青"},       {0xFF00FF, "フクシャ"}, {0xFFFF00, "水色"},     {0xFFFFFF, "白"},
};
constexpr int kStandardCount = static_cast<int>(std::size(kStandardColors));

constexpr double kSizes[] = {8, 9, 10, 10.5, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

// The shortest text that reads back as the same size, so that a size the
// user does not touch comes back exactly.
QString sizeText(double points) { return QString::number(points, 'g', QLocale::FloatingPointShortest); }

double logicalDpi() {
  const QScreen *screen = QGuiApplication::primaryScreen();
  return screen != nullptr && screen->logicalDotsPerInchY() > 0 ? screen->logicalDotsPerInchY() : 96.0;
}

// Half points, as the size list has 10.5: enough to land back on the same
// pixel size at the usual resolutions.
double pixelsToPoints(int pixels) { return std::round(pixels * 72.0 / logicalDpi() * 2.0) / 2.0; }

QIcon swatch(const QColor &color, const QSize &size) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(Qt::darkGray);
  painter.setBrush(color);
  painter.drawRect(QRect(QPoint(0, 1), size - QSize(1, 3)));
  return QIcon(pixmap);
}

} // namespace

FontColorDialog::FontColorDialog(QWidget *parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("フォント"));
  auto *grid = new QGridLayout(this);
  makeColumns(*grid);
  grid->addWidget(makeEffects(), 3, 0);
  grid->addWidget(makeSample(), 3, 1, 1, 2);
  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  grid->addWidget(buttons_, 4, 0, 1, 3);
  grid->setColumnStretch(0, 2);
  grid->setColumnStretch(1, 1);
  connectControls();
  setChoice(FontChoice{font(), clBlack});
}

// Name, style and size side by side: a caption, an edit and a list each.
void FontColorDialog::makeColumns(QGridLayout &grid) {
  struct Column {
    QLineEdit *&edit;
    QListWidget *&list;
    const char *caption;
    bool listIsBuddy; // the style is picked from its list only
  };
  const Column columns[] = {{familyEdit_, familyList_, "フォント名(&F):", false},
                            {styleEdit_, styleList_, "スタイル(&Y):", true},
                            {sizeEdit_, sizeList_, "サイズ(&S):", false}};
  for (const Column &c : columns) {
    c.edit = new QLineEdit(this);
    c.list = new QListWidget(this);
  }
  for (int i = 0; i < 3; ++i) {
    const Column &c = columns[i];
    auto *label = new QLabel(QString::fromUtf8(c.caption), this);
    label->setBuddy(c.listIsBuddy ? static_cast<QWidget *>(c.list) : c.edit);
    grid.addWidget(label, 0, i);
    grid.addWidget(c.edit, 1, i);
    grid.addWidget(c.list, 2, i);
  }
  styleEdit_->setReadOnly(true);

  for (const QString &name : QFontDatabase::families()) {
    if (!QFontDatabase::isPrivateFamily(name)) {
      familyList_->addItem(name);
    }
  }
  for (double points : kSizes) {
    sizeList_->addItem(sizeText(points));
  }
  sizeEdit_->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 8 + 16);
  sizeList_->setMaximumWidth(sizeEdit_->maximumWidth());
}

QGroupBox *FontColorDialog::makeEffects() {
  auto *effects = new QGroupBox(QStringLiteral("文字飾り"), this);
  strikeOut_ = new QCheckBox(QStringLiteral("取り消し線(&K)"), effects);
  underline_ = new QCheckBox(QStringLiteral("下線(&U)"), effects);
  colors_ = new QComboBox(effects);
  for (const NamedColor &named : kStandardColors) {
    colors_->addItem(swatch(toQColor(named.color, palette()), colors_->iconSize()),
                     QString::fromUtf8(named.name), QVariant::fromValue(named.color));
  }
  colors_->addItem(QStringLiteral("その他の色..."));
  auto *colorLabel = new QLabel(QStringLiteral("色(&C):"), effects);
  colorLabel->setBuddy(colors_);
  auto *layout = new QVBoxLayout(effects);
  for (QWidget *widget : std::initializer_list<QWidget *>{strikeOut_, underline_, colorLabel, colors_}) {
    layout->addWidget(widget);
  }
  layout->addStretch();
  return effects;
}

QGroupBox *FontColorDialog::makeSample() {
  auto *sampleBox = new QGroupBox(QStringLiteral("サンプル"), this);
  sample_ = new QLabel(QStringLiteral("AaBbYyZz あア亜"), sampleBox);
  sample_->setObjectName(QStringLiteral("sample"));
  sample_->setAlignment(Qt::AlignCenter);
  // A large size is clipped instead of growing the dialog.
  sample_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  sample_->setMinimumHeight(fontMetrics().height() * 4);
  (new QVBoxLayout(sampleBox))->addWidget(sample_);
  return sampleBox;
}

void FontColorDialog::connectControls() {
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(familyEdit_, &QLineEdit::textEdited, this, [this](const QString &text) {
    // Typing walks the list to the first family that starts so.
    const QList<QListWidgetItem *> found = familyList_->findItems(text.trimmed(), Qt::MatchStartsWith);
    if (!found.isEmpty()) {
      const QSignalBlocker blocker(familyList_);
      familyList_->setCurrentItem(found.first());
      familyList_->scrollToItem(found.first());
    }
    familyChanged();
  });
  connect(familyList_, &QListWidget::currentTextChanged, this, [this](const QString &text) {
    familyEdit_->setText(text);
    familyChanged();
  });
  connect(styleList_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row < 0 || row >= static_cast<int>(styles_.size())) {
      return;
    }
    takeStyle(row);
    styleEdit_->setText(styles_[static_cast<std::size_t>(row)].name);
    updateSample();
  });
  connect(sizeEdit_, &QLineEdit::textEdited, this, [this] {
    selectSize();
    updateSample();
  });
  connect(sizeList_, &QListWidget::currentTextChanged, this, [this](const QString &text) {
    sizeEdit_->setText(text);
    updateSample();
  });
  connect(strikeOut_, &QCheckBox::toggled, this, &FontColorDialog::updateSample);
  connect(underline_, &QCheckBox::toggled, this, &FontColorDialog::updateSample);
  connect(colors_, &QComboBox::currentIndexChanged, this, &FontColorDialog::updateSample);
  // Not on currentIndexChanged: the popup is still open when that comes.
  connect(colors_, &QComboBox::activated, this, &FontColorDialog::colorActivated);
}

void FontColorDialog::setChoice(const FontChoice &choice) {
  base_ = choice.font;
  weight_ = base_.weight();
  italic_ = base_.italic();
  styleName_ = base_.styleName();
  {
    const QSignalBlocker blocker(familyList_);
    showFamily(base_.family());
  }
  if (base_.pointSizeF() > 0) {
    sizeEdit_->setText(sizeText(base_.pointSizeF()));
  } else if (base_.pixelSize() > 0) {
    sizeEdit_->setText(sizeText(pixelsToPoints(base_.pixelSize())));
  } else {
    sizeEdit_->setText(sizeText(QFont().pointSizeF()));
  }
  selectSize();
  {
    const QSignalBlocker strikeBlocker(strikeOut_);
    const QSignalBlocker underlineBlocker(underline_);
    strikeOut_->setChecked(base_.strikeOut());
    underline_->setChecked(base_.underline());
  }
  if (colors_->count() > kStandardCount + 1) {
    colors_->removeItem(kStandardCount);
  }
  showColor(choice.color);
  updateSample();
}

FontChoice FontColorDialog::choice() const {
  QFont font = base_;
  const QString name = family();
  if (name != base_.family()) {
    font.setFamily(name);
  }
  font.setPointSizeF(
      pointSize().value_or(base_.pointSizeF() > 0 ? base_.pointSizeF() : QFont().pointSizeF()));
  font.setWeight(static_cast<QFont::Weight>(weight_));
  font.setItalic(italic_);
  font.setStyleName(styleName_);
  font.setUnderline(underline_->isChecked());
  font.setStrikeOut(strikeOut_->isChecked());
  return FontChoice{font, color()};
}

std::optional<QColor> FontColorDialog::askColor(const QColor &initial) {
  const QColor chosen = QColorDialog::getColor(initial, this);
  if (!chosen.isValid()) {
    return std::nullopt;
  }
  return chosen;
}

// The typed name, spelt as the font list spells it when it is listed; a
// family that is not installed is kept as typed, for Qt's substitutes.
QString FontColorDialog::family() const {
  const QString text = familyEdit_->text().trimmed();
  if (text.isEmpty()) {
    return base_.family();
  }
  // The editor's family may come from QFont::substitutes(), which folds
  // case; the given spelling is kept when only the case differs.
  if (text.compare(base_.family(), Qt::CaseInsensitive) == 0) {
    return base_.family();
  }
  const QList<QListWidgetItem *> found = familyList_->findItems(text, Qt::MatchFixedString);
  if (!found.isEmpty()) {
    return found.first()->text();
  }
  // A half-typed name means the family the list went to.
  const QListWidgetItem *current = familyList_->currentItem();
  if (current != nullptr && current->text().startsWith(text, Qt::CaseInsensitive)) {
    return current->text();
  }
  return text;
}

std::optional<double> FontColorDialog::pointSize() const {
  // Full-width digits are as easy to type here as ASCII ones.
  const QString text = sizeEdit_->text().normalized(QString::NormalizationForm_KC).trimmed();
  bool ok = false;
  const double points = text.toDouble(&ok);
  if (!ok || !std::isfinite(points) || points <= 0) {
    return std::nullopt;
  }
  return points;
}

TColor FontColorDialog::color() const {
  const int index = colors_->currentIndex();
  const QVariant data = colors_->itemData(index >= 0 && index < colors_->count() - 1 ? index : colorIndex_);
  return data.value<TColor>();
}

void FontColorDialog::showFamily(const QString &family) {
  const QList<QListWidgetItem *> found = familyList_->findItems(family, Qt::MatchFixedString);
  familyEdit_->setText(found.isEmpty() ? family : found.first()->text());
  if (found.isEmpty()) {
    familyList_->setCurrentRow(-1);
  } else {
    familyList_->setCurrentItem(found.first());
    familyList_->scrollToItem(found.first(), QAbstractItemView::PositionAtTop);
  }
  fillStyles();
}

// Another family takes the style marked in its list, so that what is marked
// is what comes back.
void FontColorDialog::familyChanged() {
  fillStyles();
  const int row = styleList_->currentRow();
  if (row >= 0) {
    takeStyle(row);
  }
  styleName_.clear();
  updateSample();
}

// Picking a style sets weight and slant, and drops the given style name.
void FontColorDialog::takeStyle(int row) {
  weight_ = styles_[static_cast<std::size_t>(row)].weight;
  italic_ = styles_[static_cast<std::size_t>(row)].italic;
  styleName_.clear();
}

// Marks the listed style nearest to the font's own; the font keeps its exact
// weight until the user picks a style.
void FontColorDialog::fillStyles() {
  styles_ = fontStyles(family());
  const int best = nearestStyle(styles_, weight_, italic_);
  const QSignalBlocker blocker(styleList_);
  styleList_->clear();
  for (const FontStyle &style : styles_) {
    styleList_->addItem(style.name);
  }
  styleList_->setCurrentRow(best);
  styleEdit_->setText(best >= 0 ? styles_[static_cast<std::size_t>(best)].name : QString());
}

void FontColorDialog::selectSize() {
  const std::optional<double> points = pointSize();
  const QSignalBlocker blocker(sizeList_);
  sizeList_->setCurrentRow(-1);
  for (int row = 0; points && row < sizeList_->count(); ++row) {
    if (sizeList_->item(row)->text().toDouble() == *points) {
      sizeList_->setCurrentRow(row);
      sizeList_->scrollToItem(sizeList_->item(row));
      break;
    }
  }
  buttons_->button(QDialogButtonBox::Ok)->setEnabled(points.has_value());
}

// Selects `c`; a colour not among the standard ones, system colours
// included, becomes the "カスタム" entry with the value kept as given.
void FontColorDialog::showColor(TColor c) {
  int index = -1;
  for (int i = 0; i < kStandardCount && !isSystemColor(c); ++i) {
    if (kStandardColors[i].color == c) {
      index = i;
    }
  }
  if (index < 0) {
    index = kStandardCount;
    const QIcon icon = swatch(toQColor(c, palette()), colors_->iconSize());
    if (colors_->count() > kStandardCount + 1) {
      colors_->setItemIcon(index, icon);
      colors_->setItemData(index, QVariant::fromValue(c));
    } else {
      colors_->insertItem(index, icon, QStringLiteral("カスタム"), QVariant::fromValue(c));
    }
  }
  colorIndex_ = index;
  colors_->setCurrentIndex(index);
  // The current index may not have changed while its colour did.
  updateSample();
}

void FontColorDialog::colorActivated(int index) {
  if (index != colors_->count() - 1) {
    colorIndex_ = index;
    return;
  }
  const QColor initial = toQColor(color(), palette());
  colors_->setCurrentIndex(colorIndex_);
  const std::optional<QColor> chosen = askColor(initial);
  // Confirming the colour as shown keeps a system colour a system colour.
  if (chosen && chosen->isValid() && chosen->rgb() != initial.rgb()) {
    showColor(fromQColor(*chosen));
  }
}

void FontColorDialog::updateSample() {
  sample_->setFont(choice().font);
  QPalette p = sample_->palette();
  p.setColor(QPalette::WindowText, toQColor(color(), palette()));
  sample_->setPalette(p);
}

} // namespace kavrin
