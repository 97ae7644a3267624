#pragma once

#include <QList>
#include <QWidget>

class QStackedWidget;

namespace varnek {

class WrappingTabBar;

// The window's pages under a tab bar whose tabs wrap onto several rows, in
// place of QTabWidget (whose tabs scroll). It answers what the window asks of
// a tab widget, and switches pages from the keyboard as QTabWidget does:
// Ctrl+Tab and Ctrl+Page Down forwards, Ctrl+Shift+Tab and Ctrl+Page Up
// back, the arrow keys on the focused tab bar. Each page scrolls when the
// window is smaller than the page's least size (a small or scaled screen),
// so the window never has to outgrow the screen for a page's sake.
class PageTabs : public QWidget {
  Q_OBJECT
 public:
  explicit PageTabs(QWidget* parent = nullptr);

  int addTab(QWidget* page, const QString& text);
  int count() const;
  QWidget* widget(int index) const;
  QWidget* currentWidget() const;
  int currentIndex() const;
  void setCurrentIndex(int index);
  QString tabText(int index) const;
  void setTabText(int index, const QString& text);
  void setTabToolTip(int index, const QString& hint);
  WrappingTabBar* tabBar() const { return bar_; }

 signals:
  void currentChanged(int index);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void Step(int by);

  WrappingTabBar* bar_;
  QStackedWidget* stack_;  // each page inside a scroll area of its own
  QList<QWidget*> pages_;
};

}  // namespace varnek
