#include "gui/widgets/TabKeys.h"

#include <QKeyEvent>
#include <QObject>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace varnek {
namespace {

class CtrlTabTypesATab : public QObject {
 public:
  explicit CtrlTabTypesATab(QPlainTextEdit* field) : QObject(field), field_(field) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && !field_->isReadOnly()) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier) {
        field_->insertPlainText(QStringLiteral("\t"));
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QPlainTextEdit* field_;
};

}  // namespace

void LetTabLeave(QPlainTextEdit* field) {
  field->setTabChangesFocus(true);
  field->installEventFilter(new CtrlTabTypesATab(field));
}

void TabToTheChosenOne(QRadioButton* choice) {
  // Only the chosen one is in the Tab order; the arrows still move among
  // all of a group (and choose as they go).
  const auto follow = [choice](bool chosen) { choice->setFocusPolicy(chosen ? Qt::StrongFocus : Qt::ClickFocus); };
  follow(choice->isChecked());
  QObject::connect(choice, &QRadioButton::toggled, choice, follow);
}

}  // namespace varnek
