#include "widgets/settings_dialog.h"

#include "logic/function_keys.h"
#include "logic/line_lookup.h"
#include "platform/error.h"
#include "platform/fonts.h"
#include "widgets/dialog_parts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>
#include <vector>

namespace kavrin {
namespace {

constexpr int kConverterGroup = 3;
constexpr int kRuleGroup = 4;
// The rules' check boxes stand in two columns, the first the longer.
constexpr int kRuleRows = (basic::kCheckRuleCount + 1) / 2;
constexpr int kRuleGroupHeight = 25 + 24 * kRuleRows;

enum class Kind {
  Group,
  KeyLabel,
  Label,
  KeyEdit,
  Increment,
  Converter,
  Ok,
  Cancel,
  Browse,
  PanelOnly,
};

// The dialog's controls in the order they are made, which is also the tab
// order; the rules' check boxes follow, one per rule.  `index` counts the
// key fields and their captions (F1-F5, then Shift); `group` is the box a
// control sits in, 0 for the dialog itself.  A label takes the size of its
// caption.
struct Control {
  Kind kind;
  int index;
  int group;
  QRect geometry;
  const char *caption;
};

constexpr Control kControls[] = {
    {Kind::Group, 1, 0, {16, 8, 401, 209}, "ファンクションキー"},
    {Kind::KeyLabel, 0, 1, {24, 40, 0, 0}, "F1"},
    {Kind::KeyLabel, 5, 1, {192, 40, 0, 0}, "Shift-F1"},
    {Kind::KeyLabel, 1, 1, {24, 72, 0, 0}, "F2"},
    {Kind::KeyLabel, 6, 1, {192, 72, 0, 0}, "Shift-F2"},
    {Kind::KeyLabel, 2, 1, {24, 104, 0, 0}, "F3"},
    {Kind::KeyLabel, 7, 1, {192, 104, 0, 0}, "Shift-F3"},
    {Kind::KeyLabel, 3, 1, {24, 136, 0, 0}, "F4"},
    {Kind::KeyLabel, 8, 1, {192, 136, 0, 0}, "Shift-F4"},
    {Kind::KeyLabel, 4, 1, {24, 168, 0, 0}, "F5"},
    {Kind::KeyLabel, 9, 1, {192, 168, 0, 0}, "Shift-F5"},
    {Kind::KeyEdit, 0, 1, {48, 32, 121, 20}, ""},
    {Kind::KeyEdit, 1, 1, {48, 64, 121, 20}, ""},
    {Kind::KeyEdit, 2, 1, {48, 96, 121, 20}, ""},
    {Kind::KeyEdit, 3, 1, {48, 128, 121, 20}, ""},
    {Kind::KeyEdit, 4, 1, {48, 160, 121, 20}, ""},
    {Kind::KeyEdit, 5, 1, {248, 32, 121, 20}, ""},
    {Kind::KeyEdit, 6, 1, {248, 64, 121, 20}, ""},
    {Kind::KeyEdit, 7, 1, {248, 96, 121, 20}, ""},
    {Kind::KeyEdit, 8, 1, {248, 128, 121, 20}, ""},
    {Kind::KeyEdit, 9, 1, {248, 160, 121, 20}, ""},
    {Kind::Group, 2, 0, {16, 224, 401, 49}, "AUTO"},
    {Kind::Label, 0, 2, {24, 24, 0, 0}, "行番号の増分"},
    {Kind::Increment, 0, 2, {120, 16, 121, 20}, ""},
    {Kind::Group, 3, 0, {16, 280, 401, 73}, "変換プログラム"},
    {Kind::Label, 1, 3, {24, 24, 0, 0}, "場所"},
    {Kind::Converter, 0, 3, {64, 16, 233, 20}, ""},
    {Kind::Browse, 0, 3, {312, 16, 75, 25}, "参照..."},
    {Kind::Ok, 0, 0, {448, 16, 75, 25}, "OK"},
    {Kind::Cancel, 0, 0, {448, 48, 75, 25}, "キャンセル"},
    // Last in the tab order: Tab from the other controls goes where it went.
    {Kind::PanelOnly, 0, 3, {24, 48, 361, 20}, "変換の出力をパネルだけに表示する"},
    // The rules of the program check, after the controls above.
    {Kind::Group, kRuleGroup, 0, {16, 360, 401, kRuleGroupHeight}, "検査"},
};

struct Names {
  Kind kind;
  const char *objectName;
};
constexpr Names kObjectNames[] = {
    {Kind::Increment, "increment"}, {Kind::Converter, "converter"}, {Kind::Ok, "ok"},
    {Kind::Cancel, "cancel"},       {Kind::Browse, "browse"},       {Kind::PanelOnly, "panelOnly"}};

QString objectNameOf(const Control &c) {
  if (c.kind == Kind::KeyEdit) {
    return QStringLiteral("functionKey%1").arg(c.index + 1);
  }
  for (const Names &n : kObjectNames) {
    if (n.kind == c.kind) {
      return QString::fromLatin1(n.objectName);
    }
  }
  return {};
}

} // namespace

SettingsDialog::SettingsDialog(QWidget *parent, UserInterface &ui) : QDialog(parent), ui_(ui) {
  setWindowTitle(QStringLiteral("Setting"));
  setFont(windowFont());
  setFixedSize(536, 360 + kRuleGroupHeight + 19);
  move(192, 107);
  setModal(true);
  // The frame of a group runs through the middle of its title, as on
  // Windows, so that the controls placed inside it stay clear of the frame.
  setStyleSheet(
      QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
                     "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 2px; }"));
  build();

  programDialog_.filter = QStringLiteral("プログラム (*.exe)|*.EXE|すべてのファイル (*.*)|*.*");
#if defined(Q_OS_WIN)
  programDialog_.defaultExt = QStringLiteral("exe");
#endif

  connect(ok_, &QPushButton::clicked, this, &SettingsDialog::confirm);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(browse_, &QPushButton::clicked, this, &SettingsDialog::browse);
}

void SettingsDialog::build() {
  std::vector<QWidget *> order;
  for (int row = 0; row < static_cast<int>(std::size(kControls)); ++row) {
    if (QWidget *focusable = make(row)) {
      order.push_back(focusable);
    }
  }
  for (int i = 0; i < basic::kCheckRuleCount; ++i) {
    const bool left = i < kRuleRows;
    auto *box = new QCheckBox(QString::fromUtf8(basic::kCheckRules[i].caption), groups_.at(kRuleGroup - 1));
    box->setObjectName(QStringLiteral("rule") + QString::fromLatin1(basic::kCheckRules[i].key));
    box->setGeometry(left ? 24 : 208, 20 + 24 * (i % kRuleRows), left ? 180 : 185, 20);
    ruleChecks_.at(static_cast<std::size_t>(i)) = box;
    order.push_back(box);
  }
  for (std::size_t i = 1; i < order.size(); ++i) {
    setTabOrder(order[i - 1], order[i]);
  }
}

QWidget *SettingsDialog::make(int row) {
  const Control &c = kControls[row];
  QWidget *parent = c.group == 0 ? static_cast<QWidget *>(this) : groups_.at(c.group - 1);
  const QString caption = QString::fromUtf8(c.caption);
  switch (c.kind) {
  case Kind::Group: {
    auto *group = new QGroupBox(caption, parent);
    group->setGeometry(c.geometry);
    groups_.at(c.index - 1) = group;
    return nullptr;
  }
  case Kind::KeyLabel:
  case Kind::Label: {
    auto *label = new QLabel(caption, parent);
    label->adjustSize();
    label->move(c.geometry.topLeft());
    if (c.kind == Kind::KeyLabel) {
      keyLabels_.at(c.index) = label;
    } else if (c.group == kConverterGroup) {
      converterLabel_ = label;
    }
    return nullptr;
  }
  case Kind::KeyEdit:
  case Kind::Increment:
  case Kind::Converter: {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectNameOf(c));
    edit->setGeometry(c.geometry);
    if (c.kind == Kind::KeyEdit) {
      edit->setFont(pixelFont(QStringLiteral("ＭＳ ゴシック"), 12));
      keyEdits_.at(c.index) = edit;
    } else {
      (c.kind == Kind::Increment ? increment_ : converter_) = edit;
    }
    return edit;
  }
  case Kind::PanelOnly: {
    panelOnly_ = new QCheckBox(caption, parent);
    panelOnly_->setObjectName(objectNameOf(c));
    panelOnly_->setGeometry(c.geometry);
    return panelOnly_;
  }
  default: {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(objectNameOf(c));
    button->setGeometry(c.geometry);
    // Neither Enter nor Esc presses a button of this dialog.
    button->setAutoDefault(false);
    (c.kind == Kind::Ok ? ok_ : c.kind == Kind::Cancel ? cancel_ : browse_) = button;
    return button;
  }
  }
}

void SettingsDialog::setValues(const Preferences &values) {
  values_ = values;
  for (std::size_t i = 0; i < keyEdits_.size(); ++i) {
    keyEdits_[i]->setText(convertKeyText(values.functionKeys[i], true));
  }
  increment_->setText(QString::number(values.autoIncrement));
  converter_->setText(values.converter);
  panelOnly_->setChecked(values.outputInPanelOnly);
  for (const basic::CheckRule rule : basic::kOptionalRules) {
    ruleCheck(rule)->setChecked(values.check.enabled(rule));
  }
}

void SettingsDialog::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  keyEdits_[0]->setFocus();
}

void SettingsDialog::keyPressEvent(QKeyEvent *event) {
  switch (event->key()) {
  case Qt::Key_Escape:
  case Qt::Key_Return:
  case Qt::Key_Enter:
    event->accept(); // the dialog closes only by its buttons and its title bar
    return;
  default:
    QDialog::keyPressEvent(event);
  }
}

void SettingsDialog::confirm() {
  // The increment is checked first, so that a mistake takes nothing over.
  const std::optional<int> increment = basic::parseWholeNumber(increment_->text());
  if (!increment) {
    showMessage(ui_, this, QStringLiteral("'%1' は整数ではありません。").arg(increment_->text()));
    increment_->setFocus();
    increment_->selectAll();
    return;
  }
  // The settings file is Shift-JIS: what it cannot hold would be lost at
  // the close.
  for (std::size_t i = 0; i < keyEdits_.size(); ++i) {
    if (!holdsOnlyShiftJis(ui_, this, keyEdits_[i], keyLabels_[i]->text() + QStringLiteral(" のテキスト"))) {
      return;
    }
  }
  if (!holdsOnlyShiftJis(ui_, this, converter_,
                         groups_.at(kConverterGroup - 1)->title() + QStringLiteral("の") +
                             converterLabel_->text())) {
    return;
  }
  for (std::size_t i = 0; i < keyEdits_.size(); ++i) {
    values_.functionKeys[i] = convertKeyText(keyEdits_[i]->text(), false);
  }
  values_.autoIncrement = *increment;
  values_.converter = converter_->text();
  values_.outputInPanelOnly = panelOnly_->isChecked();
  for (const basic::CheckRule rule : basic::kOptionalRules) {
    values_.check.set(rule, ruleCheck(rule)->isChecked());
  }
  accept();
}

void SettingsDialog::browse() {
  try {
    if (ui_.execOpenDialog(this, programDialog_)) {
      converter_->setText(programDialog_.fileName);
    }
  } catch (const Error &e) {
    showMessage(ui_, this, e.message());
  }
}

} // namespace kavrin
