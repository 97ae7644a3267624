#include "gui/QtDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

#include "core/text/Product.h"
#include "qt/HubCodec.h"

namespace varnek {

QColor ColourOf(int windowsColour) {
  return QColor(windowsColour & 0xFF, (windowsColour >> 8) & 0xFF, (windowsColour >> 16) & 0xFF);
}

int WindowsColourOf(const QColor& colour) {
  return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

DialogAnswer QtDialogs::MessageBox(DialogKind kind, DialogButtons buttons, const std::string& text, Question) {
  const QString title = QString::fromLatin1(kProductName);
  const QString shown = codec_.ToUnicode(text);
  if (buttons == DialogButtons::Ok) {
    if (kind == DialogKind::Error) {
      QMessageBox::critical(owner_, title, shown);
    } else if (kind == DialogKind::Information) {
      QMessageBox::information(owner_, title, shown);
    } else {
      QMessageBox::warning(owner_, title, shown);
    }
    return DialogAnswer::Ok;
  }
  const auto answer = kind == DialogKind::Error
                          ? QMessageBox::critical(owner_, title, shown, QMessageBox::Yes | QMessageBox::No)
                          : QMessageBox::question(owner_, title, shown, QMessageBox::Yes | QMessageBox::No);
  return answer == QMessageBox::Yes ? DialogAnswer::Yes : DialogAnswer::No;
}

std::optional<std::string> QtDialogs::InputBox(const std::string& title, const std::string& prompt,
                                               const std::string& initial) {
  bool accepted = false;
  const QString text = QInputDialog::getText(owner_, codec_.ToUnicode(title), codec_.ToUnicode(prompt),
                                             QLineEdit::Normal, codec_.ToUnicode(initial), &accepted);
  if (!accepted) {
    return std::nullopt;
  }
  return codec_.ToHub(text);
}

std::optional<int> QtDialogs::PickColour(int initial) {
  const QColor colour = QColorDialog::getColor(ColourOf(initial), owner_);
  if (!colour.isValid()) {
    return std::nullopt;
  }
  return WindowsColourOf(colour);
}

std::optional<std::string> QtDialogs::PickFile(const std::string& directory, const std::string& filterName,
                                               const std::string& pattern, const std::string& title) {
  const QString filter =
      codec_.ToUnicode(filterName) + QStringLiteral(" (") + QString::fromStdString(pattern) + QStringLiteral(")");
  const QString file =
      QFileDialog::getOpenFileName(owner_, codec_.ToUnicode(title), QString::fromStdString(directory), filter);
  if (file.isEmpty()) {
    return std::nullopt;
  }
  return file.toStdString();
}

void QtDialogs::OpenUrl(const std::string& url) {
  QDesktopServices::openUrl(QUrl(codec_.ToUnicode(url)));
}

void QtDialogs::SetClipboardText(const std::string& text) {
  QApplication::clipboard()->setText(codec_.ToUnicode(text));
}

}  // namespace varnek
