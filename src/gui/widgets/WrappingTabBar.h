#pragma once

#include <QRect>
#include <QStringList>
#include <QVector>
#include <QWidget>

namespace varnek {

// A row of tabs that wraps onto further rows when the captions do not fit
// side by side, so that every caption stays in sight at any width that holds
// the widest one. Tabs keep their order, row by row; the rows themselves never
// move when another tab is chosen. Drawn by the style as Qt's own tabs are.
class WrappingTabBar : public QWidget {
  Q_OBJECT
 public:
  explicit WrappingTabBar(QWidget* parent = nullptr);

  int AddTab(const QString& text);
  int Count() const { return static_cast<int>(texts_.size()); }
  QString TabText(int index) const;
  void SetTabText(int index, const QString& text);
  int CurrentIndex() const { return current_; }
  // Ignores an index that names no tab, as QTabBar does.
  void SetCurrentIndex(int index);
  // Where the tab is drawn at the bar's present width.
  QRect TabRect(int index) const;
  int TabAt(const QPoint& position) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;

 signals:
  void currentChanged(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // One tab's size with its caption, as the style draws it.
  QSize TabSize(int index) const;
  // The tabs' rectangles at a width, and the number of rows they take.
  QVector<QRect> LayOut(int width, int* rows) const;
  void Relayout();

  QStringList texts_;
  QVector<QRect> rects_;
  QVector<int> rowOf_;
  int rowCount_ = 1;
  int current_ = -1;
  int hovered_ = -1;
};

}  // namespace varnek
