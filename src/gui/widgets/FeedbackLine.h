#pragma once

#include <QLabel>
#include <QStringList>

namespace varnek {

// "LEAD: a, b, c" laid out in at most two lines of `width` pixels, broken at
// blanks (inside a word only when it is longer than a line). Items that do
// not fit give way to "…"; a lead that needs more than the two lines alone
// loses its middle, so that its end (a pattern's count) stays in sight.
// The lines are joined by a line break.
QString FitInTwoLines(const QFont& font, int width, const QString& lead, const QStringList& items);

// The line under a dialog's field that follows the text typed: two lines
// high whatever it says, so it never runs into the field or the buttons, its
// text fitted to its width again when the dialog is resized. The whole text
// is its tool tip.
class FeedbackLine : public QLabel {
  Q_OBJECT
 public:
  explicit FeedbackLine(QWidget* parent = nullptr);

  void SetFeedback(const QString& lead, const QStringList& items);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Fit();

  QString lead_;
  QStringList items_;
};

}  // namespace varnek
