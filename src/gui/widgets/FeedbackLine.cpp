#include "gui/widgets/FeedbackLine.h"

#include <QEvent>
#include <QFontMetrics>
#include <QTextLayout>

namespace varnek {
namespace {

constexpr int kLines = 2;
const QChar kEllipsis(0x2026);

// The text broken into lines of `width`, as many as it takes.
QStringList Wrapped(const QFont& font, int width, const QString& text) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  QStringList lines;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    lines << text.mid(line.textStart(), line.textLength()).trimmed();
  }
  layout.endLayout();
  return lines;
}

QString WithItems(const QString& lead, const QStringList& items, qsizetype shown) {
  QString text = lead;
  for (qsizetype i = 0; i < shown; ++i) {
    text += (i == 0 ? QStringLiteral(": ") : QStringLiteral(", ")) + items[i];
  }
  if (shown < items.size()) {
    text += (shown == 0 ? QStringLiteral(": ") : QStringLiteral(", ")) + kEllipsis;
  }
  return text;
}

}  // namespace

QString FitInTwoLines(const QFont& font, int width, const QString& lead, const QStringList& items) {
  for (qsizetype shown = items.size(); shown >= 0; --shown) {
    const QStringList lines = Wrapped(font, width, WithItems(lead, items, shown));
    if (lines.size() <= kLines) {
      return lines.join(QLatin1Char('\n'));
    }
  }
  // The lead alone is too long (a pattern of hundreds of characters): its
  // middle goes, cut anywhere, a little short of two whole lines.
  const QFontMetrics metrics(font);
  const QString elided = metrics.elidedText(lead, Qt::ElideMiddle, kLines * width - 2 * metrics.maxWidth());
  return Wrapped(font, width, elided).mid(0, kLines).join(QLatin1Char('\n'));
}

FeedbackLine::FeedbackLine(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);  // nicks are shown as they are
  setWordWrap(false);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // The text follows the width it is given and never asks for more.
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  setMinimumWidth(1);
  setFixedHeight(kLines * fontMetrics().lineSpacing() + contentsMargins().top() + contentsMargins().bottom());
}

void FeedbackLine::SetFeedback(const QString& lead, const QStringList& items) {
  lead_ = lead;
  items_ = items;
  setToolTip(items.isEmpty() ? lead : lead + QStringLiteral(": ") + items.join(QStringLiteral(", ")));
  Fit();
}

void FeedbackLine::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Fit();
}

void FeedbackLine::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    setFixedHeight(kLines * fontMetrics().lineSpacing() + contentsMargins().top() + contentsMargins().bottom());
    Fit();
  }
}

void FeedbackLine::Fit() {
  setText(lead_.isEmpty() ? QString() : FitInTwoLines(font(), contentsRect().width(), lead_, items_));
}

}  // namespace varnek
