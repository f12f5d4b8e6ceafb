#pragma once

#include "platform/user_interface.h"
#include "widgets/font_styles.h"

#include <QDialog>

#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace kavrin {

// The font dialog with a text colour, as the settings keep one beside the
// font.  QFontDialog offers no colour, so the dialog is composed here.
class FontColorDialog : public QDialog {
  Q_OBJECT

public:
  explicit FontColorDialog(QWidget *parent = nullptr);

  // A pixel-sized font is shown, and returned, in points.
  void setChoice(const FontChoice &choice);
  FontChoice choice() const;

protected:
  // Asks for a colour not in the list; empty when the user cancels.
  virtual std::optional<QColor> askColor(const QColor &initial);

private:
  void makeColumns(QGridLayout &grid);
  QGroupBox *makeEffects();
  QGroupBox *makeSample();
  void connectControls();

  QString family() const;
  std::optional<double> pointSize() const;
  TColor color() const;
  void showFamily(const QString &family);
  void familyChanged();
  void fillStyles();
  void takeStyle(int row);
  void selectSize();
  void showColor(TColor c);
  void colorActivated(int index);
  void updateSample();

  QLineEdit *familyEdit_;
  QListWidget *familyList_;
  QLineEdit *styleEdit_;
  QListWidget *styleList_;
  QLineEdit *sizeEdit_;
  QListWidget *sizeList_;
  QCheckBox *strikeOut_;
  QCheckBox *underline_;
  QComboBox *colors_;
  QLabel *sample_;
  QDialogButtonBox *buttons_;

  // What the lists cannot show exactly is kept from the given font until the
  // user picks something else.
  QFont base_;
  std::vector<FontStyle> styles_;
  int weight_ = 400;
  bool italic_ = false;
  QString styleName_;
  // The colour entry that was current before "その他の色..." was chosen.
  int colorIndex_ = 0;
};

} // namespace kavrin
