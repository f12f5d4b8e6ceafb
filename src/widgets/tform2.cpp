#include "widgets/tform2.h"

#include "app/tform1.h"
#include "platform/fonts.h"
#include "settings/function_keys.h"

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

QPushButton *button(QWidget *parent, const QString &text, const QRect &geometry) {
  auto *b = new QPushButton(text, parent);
  b->setGeometry(geometry);
  // Neither Enter nor Esc presses a button of this dialog.
  b->setAutoDefault(false);
  b->setDefault(false);
  return b;
}

} // namespace

TForm2::TForm2(TForm1 &main) : QDialog(&main), main_(main) {
  Form2 = this;
  setWindowTitle(QStringLiteral("Setting"));
  setFont(windowFont());
  setFixedSize(536, 348);
  move(192, 107);
  setModal(true);

  const QFont editFont = pixelFont(QStringLiteral("ＭＳ ゴシック"), 12);
  // The frame of a group runs through the middle of its title, as on
  // Windows, so that the controls placed inside it stay clear of the frame.
  setStyleSheet(
      QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
                     "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 2px; }"));
  const auto label = [this](QWidget *parent, int number, const QString &text, int x, int y) {
    auto *l = new QLabel(text, parent);
    l->adjustSize();
    l->move(x, y);
    Labels[number - 1] = l;
  };
  const auto edit = [&editFont](QWidget *parent, const QRect &geometry, bool keyFont) {
    auto *e = new QLineEdit(parent);
    e->setGeometry(geometry);
    if (keyFont) {
      e->setFont(editFont);
    }
    return e;
  };

  GroupBox1 = new QGroupBox(QStringLiteral("ファンクションキー"), this);
  GroupBox1->setGeometry(16, 8, 401, 209);
  for (int row = 0; row < 5; ++row) {
    label(GroupBox1, row + 1, QStringLiteral("F%1").arg(row + 1), 24, 40 + 32 * row);
    label(GroupBox1, row + 6, QStringLiteral("Shift-F%1").arg(row + 1), 192, 40 + 32 * row);
  }
  for (int row = 0; row < 5; ++row) {
    KeyEdits[row] = edit(GroupBox1, QRect(48, 32 + 32 * row, 121, 20), true);
  }
  for (int row = 0; row < 5; ++row) {
    KeyEdits[row + 5] = edit(GroupBox1, QRect(248, 32 + 32 * row, 121, 20), true);
  }
  for (std::size_t i = 0; i < KeyEdits.size(); ++i) {
    KeyEdits[i]->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
  }
  Edit1 = KeyEdits[0];
  Edit2 = KeyEdits[1];
  Edit3 = KeyEdits[2];
  Edit4 = KeyEdits[3];
  Edit5 = KeyEdits[4];
  Edit6 = KeyEdits[5];
  Edit7 = KeyEdits[6];
  Edit8 = KeyEdits[7];
  Edit9 = KeyEdits[8];
  Edit10 = KeyEdits[9];

  GroupBox2 = new QGroupBox(QStringLiteral("AUTO"), this);
  GroupBox2->setGeometry(16, 224, 401, 49);
  label(GroupBox2, 11, QStringLiteral("行番号の増分"), 24, 24);
  Edit11 = edit(GroupBox2, QRect(120, 16, 121, 20), false);
  Edit11->setObjectName(QStringLiteral("Edit11"));

  GroupBox3 = new QGroupBox(QStringLiteral("変換プログラム"), this);
  GroupBox3->setGeometry(16, 280, 401, 49);
  label(GroupBox3, 12, QStringLiteral("場所"), 24, 24);
  Edit12 = edit(GroupBox3, QRect(64, 16, 233, 20), false);
  Edit12->setObjectName(QStringLiteral("Edit12"));
  Button3 = button(GroupBox3, QStringLiteral("参照..."), QRect(312, 16, 75, 25));
  Button3->setObjectName(QStringLiteral("Button3"));

  Button1 = button(this, QStringLiteral("OK"), QRect(448, 16, 75, 25));
  Button1->setObjectName(QStringLiteral("Button1"));
  Button2 = button(this, QStringLiteral("キャンセル"), QRect(448, 48, 75, 25));
  Button2->setObjectName(QStringLiteral("Button2"));

  std::vector<QWidget *> order(KeyEdits.begin(), KeyEdits.end());
  order.insert(order.end(), {Edit11, Edit12, Button3, Button1, Button2});
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
