#include "widgets/tform2.h"

#include "app/tform1.h"
#include "platform/fonts.h"
#include "settings/function_keys.h"
#include "widgets/dialog_parts.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>
#include <vector>

namespace kavrin {

TForm2 *Form2 = nullptr;

namespace {

// A whole decimal number in the 32-bit range, blanks around it allowed.
std::optional<int> wholeNumber(const QString &text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok, 10);
  return ok ? std::optional<int>(value) : std::nullopt;
}

enum class Kind { Group, Label, KeyEdit, Edit, Button };

// The form's controls in the order they are made, which is also the tab
// order.  `number` is the design name's (GroupBox2, Label7, Edit11...);
// `group` the GroupBox they sit in, 0 for the form.  A label takes the size
// of its caption.
struct Control {
  Kind kind;
  int number;
  int group;
  QRect geometry;
  const char *caption;
};

constexpr Control kControls[] = {
    {Kind::Group, 1, 0, {16, 8, 401, 209}, "ファンクションキー"},
    {Kind::Label, 1, 1, {24, 40, 0, 0}, "F1"},
    {Kind::Label, 6, 1, {192, 40, 0, 0}, "Shift-F1"},
    {Kind::Label, 2, 1, {24, 72, 0, 0}, "F2"},
    {Kind::Label, 7, 1, {192, 72, 0, 0}, "Shift-F2"},
    {Kind::Label, 3, 1, {24, 104, 0, 0}, "F3"},
    {Kind::Label, 8, 1, {192, 104, 0, 0}, "Shift-F3"},
    {Kind::Label, 4, 1, {24, 136, 0, 0}, "F4"},
    {Kind::Label, 9, 1, {192, 136, 0, 0}, "Shift-F4"},
    {Kind::Label, 5, 1, {24, 168, 0, 0}, "F5"},
    {Kind::Label, 10, 1, {192, 168, 0, 0}, "Shift-F5"},
    {Kind::KeyEdit, 1, 1, {48, 32, 121, 20}, ""},
    {Kind::KeyEdit, 2, 1, {48, 64, 121, 20}, ""},
    {Kind::KeyEdit, 3, 1, {48, 96, 121, 20}, ""},
    {Kind::KeyEdit, 4, 1, {48, 128, 121, 20}, ""},
    {Kind::KeyEdit, 5, 1, {48, 160, 121, 20}, ""},
    {Kind::KeyEdit, 6, 1, {248, 32, 121, 20}, ""},
    {Kind::KeyEdit, 7, 1, {248, 64, 121, 20}, ""},
    {Kind::KeyEdit, 8, 1, {248, 96, 121, 20}, ""},
    {Kind::KeyEdit, 9, 1, {248, 128, 121, 20}, ""},
    {Kind::KeyEdit, 10, 1, {248, 160, 121, 20}, ""},
    {Kind::Group, 2, 0, {16, 224, 401, 49}, "AUTO"},
    {Kind::Label, 11, 2, {24, 24, 0, 0}, "行番号の増分"},
    {Kind::Edit, 11, 2, {120, 16, 121, 20}, ""},
    {Kind::Group, 3, 0, {16, 280, 401, 49}, "変換プログラム"},
    {Kind::Label, 12, 3, {24, 24, 0, 0}, "場所"},
    {Kind::Edit, 12, 3, {64, 16, 233, 20}, ""},
    {Kind::Button, 3, 3, {312, 16, 75, 25}, "参照..."},
    {Kind::Button, 1, 0, {448, 16, 75, 25}, "OK"},
    {Kind::Button, 2, 0, {448, 48, 75, 25}, "キャンセル"},
};

constexpr QGroupBox *TForm2::*kGroups[] = {&TForm2::GroupBox1, &TForm2::GroupBox2, &TForm2::GroupBox3};
constexpr QLineEdit *TForm2::*kEdits[] = {&TForm2::Edit1, &TForm2::Edit2,  &TForm2::Edit3,  &TForm2::Edit4,
                                          &TForm2::Edit5, &TForm2::Edit6,  &TForm2::Edit7,  &TForm2::Edit8,
                                          &TForm2::Edit9, &TForm2::Edit10, &TForm2::Edit11, &TForm2::Edit12};
constexpr QPushButton *TForm2::*kButtons[] = {&TForm2::Button1, &TForm2::Button2, &TForm2::Button3};

// Makes one control of the table; hands back the ones the user tabs to.
QWidget *make(TForm2 &form, const Control &c, const QFont &keyFont) {
  QWidget *parent = c.group == 0 ? static_cast<QWidget *>(&form) : form.*kGroups[c.group - 1];
  const QString caption = QString::fromUtf8(c.caption);
  const auto index = static_cast<std::size_t>(c.number - 1);
  switch (c.kind) {
  case Kind::Group: {
    auto *group = new QGroupBox(caption, parent);
    group->setGeometry(c.geometry);
    form.*kGroups[index] = group;
    return nullptr;
  }
  case Kind::Label: {
    auto *label = new QLabel(caption, parent);
    label->adjustSize();
    label->move(c.geometry.topLeft());
    form.Labels[index] = label;
    return nullptr;
  }
  case Kind::KeyEdit:
  case Kind::Edit: {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("Edit%1").arg(c.number));
    edit->setGeometry(c.geometry);
    if (c.kind == Kind::KeyEdit) {
      edit->setFont(keyFont);
      form.KeyEdits[index] = edit;
    }
    form.*kEdits[index] = edit;
    return edit;
  }
  case Kind::Button: {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QStringLiteral("Button%1").arg(c.number));
    button->setGeometry(c.geometry);
    // Neither Enter nor Esc presses a button of this dialog.
    button->setAutoDefault(false);
    form.*kButtons[index] = button;
    return button;
  }
  }
  return nullptr;
}

} // namespace

TForm2::TForm2(TForm1 &main) : QDialog(&main), main_(main) {
  Form2 = this;
  setWindowTitle(QStringLiteral("Setting"));
  setFont(windowFont());
  setFixedSize(536, 348);
  move(192, 107);
  setModal(true);
  // The frame of a group runs through the middle of its title, as on
  // Windows, so that the controls placed inside it stay clear of the frame.
  setStyleSheet(
      QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
                     "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 2px; }"));

  const QFont keyFont = pixelFont(QStringLiteral("ＭＳ ゴシック"), 12);
  std::vector<QWidget *> order;
  for (const Control &c : kControls) {
    if (QWidget *focusable = make(*this, c, keyFont)) {
      order.push_back(focusable);
    }
  }
  for (std::size_t i = 1; i < order.size(); ++i) {
    setTabOrder(order[i - 1], order[i]);
  }

  OpenDialog1.filter = QStringLiteral("プログラム (*.exe)|*.EXE|すべてのファイル (*.*)|*.*");
#if defined(Q_OS_WIN)
  OpenDialog1.defaultExt = QStringLiteral("exe");
#endif

  connect(Button1, &QPushButton::clicked, this, [this] { main_.guard([this] { Button1Click(); }); });
  connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
  connect(Button3, &QPushButton::clicked, this, [this] { main_.guard([this] { Button3Click(); }); });
}

TForm2::~TForm2() {
  if (Form2 == this) {
    Form2 = nullptr;
  }
}

void TForm2::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  FormActivate();
  KeyEdits[0]->setFocus();
}

void TForm2::keyPressEvent(QKeyEvent *event) {
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

void TForm2::FormActivate() {
  for (std::size_t i = 0; i < KeyEdits.size(); ++i) {
    KeyEdits[i]->setText(ConvertKeyText(main_.FunctionKeys[i], true));
  }
  Edit11->setText(QString::number(main_.AutoAdd));
  Edit12->setText(main_.ConvProg);
}

void TForm2::Button1Click() {
  // The increment is checked first, so that a mistake takes nothing over.
  const std::optional<int> increment = wholeNumber(Edit11->text());
  if (!increment) {
    showMessage(main_.ui(), this, QStringLiteral("'%1' は整数ではありません。").arg(Edit11->text()));
    Edit11->setFocus();
    Edit11->selectAll();
    return;
  }
  // The settings file is Shift-JIS: what it cannot hold would be lost at
  // the close.
  for (std::size_t i = 0; i < KeyEdits.size(); ++i) {
    if (!holdsOnlyShiftJis(main_.ui(), this, KeyEdits[i],
                           Labels[i]->text() + QStringLiteral(" のテキスト"))) {
      return;
    }
  }
  if (!holdsOnlyShiftJis(main_.ui(), this, Edit12,
                         GroupBox3->title() + QStringLiteral("の") + Labels[11]->text())) {
    return;
  }
  for (std::size_t i = 0; i < KeyEdits.size(); ++i) {
    main_.FunctionKeys[i] = ConvertKeyText(KeyEdits[i]->text(), false);
  }
  main_.AutoAdd = *increment;
  main_.ConvProg = Edit12->text();
  main_.UpdateLegend();
  accept();
}

void TForm2::Button2Click() { reject(); }

void TForm2::Button3Click() {
  if (main_.ui().execOpenDialog(this, OpenDialog1)) {
    Edit12->setText(OpenDialog1.fileName);
  }
}

} // namespace kavrin
