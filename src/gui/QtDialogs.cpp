#include "gui/QtDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "core/text/Product.h"
#include "gui/widgets/FeedbackLine.h"
#include "qt/HubCodec.h"

namespace varnek {
namespace {

// Qt's input dialog is as narrow as its short prompt, which hides most of a
// remembered reason or address and cuts the title that names the user. It
// is made wide enough for the title beside the frame's buttons, the prompt
// and the text, within what the screen has room for.
int InputBoxWidth(const QWidget& dialog, const QString& prompt, const QString& text) {
  constexpr int kNarrowest = 360;
  constexpr int kFrameButtons = 160;  // the window's icon and buttons beside its title
  constexpr int kFieldMargins = 48;   // the dialog's margins and the field's frame
  const QFontMetrics metrics(dialog.font());
  QFont titleFont = dialog.font();
  titleFont.setBold(true);
  const int wanted =
      std::max({kNarrowest, QFontMetrics(titleFont).horizontalAdvance(dialog.windowTitle()) + kFrameButtons,
                metrics.horizontalAdvance(prompt) + kFieldMargins, metrics.horizontalAdvance(text) + kFieldMargins});
  const QScreen* screen = dialog.screen();
  const int room = screen != nullptr ? screen->availableGeometry().width() * 3 / 4 : wanted;
  return std::min(wanted, room);
}

}  // namespace

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
  QInputDialog dialog(owner_);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(codec_.ToUnicode(title));
  dialog.setLabelText(codec_.ToUnicode(prompt));
  dialog.setTextValue(codec_.ToUnicode(initial));
  dialog.resize(InputBoxWidth(dialog, dialog.labelText(), dialog.textValue()), dialog.sizeHint().height());
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return codec_.ToHub(dialog.textValue());
}

// Qt's input dialog takes no line of its own, so this one is built from the
// same parts: the prompt, the field, the line that follows the text (two
// lines high, FeedbackLine), and OK and Cancel.
std::optional<std::string> QtDialogs::InputBoxWithFeedback(const std::string& title, const std::string& prompt,
                                                           const std::string& initial, const InputFeedback& feedback) {
  QDialog dialog(owner_);
  dialog.setWindowTitle(codec_.ToUnicode(title));
  auto* layout = new QVBoxLayout(&dialog);
  auto* label = new QLabel(codec_.ToUnicode(prompt), &dialog);
  auto* field = new QLineEdit(codec_.ToUnicode(initial), &dialog);
  field->setObjectName(QStringLiteral("InputField"));
  label->setBuddy(field);
  auto* shown = new FeedbackLine(&dialog);
  shown->setObjectName(QStringLiteral("InputFeedback"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  layout->addWidget(label);
  layout->addWidget(field);
  layout->addWidget(shown);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  const auto follow = [this, field, shown, &feedback] {
    // This runs from the dialog's own event loop, outside the bot's error
    // boundary: a failure leaves the line empty rather than ending the program.
    try {
      const InputFeedbackText answer = feedback(codec_.ToHub(field->text()));
      QStringList items;
      for (const std::string& item : answer.items) {
        items << codec_.ToUnicode(item);
      }
      shown->SetFeedback(codec_.ToUnicode(answer.lead), items);
    } catch (const std::exception&) {
      shown->SetFeedback({}, {});
    }
  };
  QObject::connect(field, &QLineEdit::textChanged, &dialog, follow);
  follow();
  dialog.resize(InputBoxWidth(dialog, label->text(), field->text()), dialog.sizeHint().height());
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return codec_.ToHub(field->text());
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
