#pragma once

#include <QRect>
#include <QStringList>
#include <QVector>
#include <QWidget>

namespace varnek {

// A row of tabs that wraps onto further rows when the captions do not fit
// side by side, so that every caption stays in sight at any width that holds
// the widest one. Tabs keep their order, row by row; the row of the chosen tab
// is drawn last, next to the page, as wrapping tab bars do, so the chosen tab
// always opens onto its page. Drawn by the style as Qt's own tabs are. A
// caption's "&" gives its tab an Alt key; tabs that share one take turns.
class WrappingTabBar : public QWidget {
  Q_OBJECT
 public:
  explicit WrappingTabBar(QWidget* parent = nullptr);

  int AddTab(const QString& text);
  int Count() const { return static_cast<int>(texts_.size()); }
  QString TabText(int index) const;
  void SetTabText(int index, const QString& text);
  // The tab's tool tip, also shown in the status bar while the mouse is on it.
  QString TabHint(int index) const;
  void SetTabHint(int index, const QString& hint);
  int CurrentIndex() const { return current_; }
  // Ignores an index that names no tab, as QTabBar does.
  void SetCurrentIndex(int index);
  // Where the tab is drawn at the bar's present width.
  QRect TabRect(int index) const;
  int TabAt(const QPoint& position) const;

  bool event(QEvent* event) override;
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
  void SetHovered(int index);
  // The tab an Alt key chooses: the next after the chosen one among the tabs
  // that share the key of the given tab.
  int NextWithSameKey(int index) const;

  QStringList texts_;
  QStringList hints_;
  QVector<int> shortcuts_;  // the Alt key of each tab, as grabbed (0 for none)
  QVector<QRect> rects_;
  int rowCount_ = 1;
  int current_ = -1;
  int hovered_ = -1;
};

}  // namespace varnek
