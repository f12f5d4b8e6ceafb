#pragma once

#include <QStatusBar>

#include <array>

namespace kavrin {

// A status bar of six text panels laid side by side from the left, each with
// a width of its own.  Panels that do not fit are cut off at the right end.
class PanelStatusBar : public QStatusBar {
  Q_OBJECT

public:
  static constexpr int kPanelCount = 6;

  explicit PanelStatusBar(QWidget *parent = nullptr);

  int panelWidth(int index) const { return panels_.at(index).width; }
  void setPanelWidth(int index, int width);
  const QString &panelText(int index) const { return panels_.at(index).text; }
  void setPanelText(int index, const QString &text);
  // The text as the panel draws it: a line break as a return sign.
  QString shownPanelText(int index) const;
  // The document's form, drawn at the right of the last panel.
  const QString &formText() const { return form_; }
  void setFormText(const QString &text);

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  struct Panel {
    int width = 50;
    QString text;
  };
  std::array<Panel, kPanelCount> panels_;
  QString form_;
};

} // namespace kavrin
