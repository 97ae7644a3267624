#include "gui/ControlBinder.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>
#include <algorithm>

#include "core/model/ControlNames.h"
#include "core/text/Strings.h"
#include "gui/PatternListTableModel.h"
#include "gui/UserListTableModel.h"
#include "gui/widgets/PageTabs.h"
#include "qt/HubCodec.h"

namespace varnek {
namespace {

// Memos keep CR LF line breaks, as the hub and the settings file do; the
// widget shows plain line feeds.
QString MemoShown(const QString& text) {
  return QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
QString MemoStored(const QString& text) {
  return QString(text).replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

// The field's typing limit, raised to the length of a longer text that the
// program put there (a loaded value), which QLineEdit would otherwise cut.
// Setting the limit makes QLineEdit set its text anew, so it is set only when
// it changes, and the cursor is put back where the operator left it.
void LimitTyping(QLineEdit* edit, const Control& control, const QString& text) {
  if (control.MaxLength() <= 0) {
    return;
  }
  const int limit = std::max(control.MaxLength(), static_cast<int>(text.size()));
  if (edit->maxLength() != limit) {
    const int cursor = edit->cursorPosition();
    edit->setMaxLength(limit);
    edit->setCursorPosition(cursor);
  }
}

}  // namespace

ControlBinder::ControlBinder(ControlModel& controls, const HubCodec& codec, Boundary boundary, QObject* parent)
    : QObject(parent), controls_(controls), codec_(codec), boundary_(std::move(boundary)) {
  controls_.AddListener(this);
}

ControlBinder::~ControlBinder() {
  controls_.RemoveListener(this);
}

QString ControlBinder::Show(const std::string& bytes) const {
  return codec_.ToUnicode(bytes);
}

std::string ControlBinder::Bytes(const QString& text) const {
  return codec_.ToHub(text);
}

void ControlBinder::BindTree(QWidget* root) {
  QList<QWidget*> widgets = root->findChildren<QWidget*>();
  widgets.prepend(root);
  for (QWidget* widget : widgets) {
    if (Control* control = controls_.Find(widget->objectName().toStdString())) {
      Bind(widget, *control);
    }
  }
}

void ControlBinder::BindAction(QAction* action) {
  if (Control* control = controls_.Find(action->objectName().toStdString())) {
    Bind(action, *control);
  }
}

void ControlBinder::BindPages(PageTabs* pages) {
  pages_ = pages;
  Control& pageControl = controls_.Get(ctl::kPageControl);
  for (int i = 0; i < pages->count(); ++i) {
    if (Control* sheet = controls_.Find(pages->widget(i)->objectName().toStdString())) {
      pages->setTabText(i, Show(sheet->Caption()));
      pages->setTabToolTip(i, Show(sheet->Hint()));
    }
  }
  ++updating_;
  pages->setCurrentIndex(pageControl.Value());
  --updating_;
  connect(pages, &PageTabs::currentChanged, this,
          [this, &pageControl](int index) { Write([&] { pageControl.SetValue(index); }); });
}

void ControlBinder::Bind(QObject* object, Control& control) {
  bound_[&control].emplace_back(object);
  ApplyAll(object, control);
  ConnectWidget(object, control);
}

void ControlBinder::Write(const std::function<void()>& change) {
  if (updating_ == 0) {
    boundary_(change);
  }
}

void ControlBinder::ConnectWidget(QObject* object, Control& control) {
  Control* target = &control;
  if (auto* button = qobject_cast<QAbstractButton*>(object); button && button->isCheckable()) {
    connect(button, &QAbstractButton::toggled, this,
            [this, target](bool on) { Write([&] { target->SetChecked(on); }); });
  } else if (auto* edit = qobject_cast<QLineEdit*>(object)) {
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this,
            [this, target](const QString& text) { Write([&] { target->SetTypedText(Bytes(text)); }); });
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(object); memo && !memo->isReadOnly()) {
    memo->installEventFilter(this);
    connect(memo, &QPlainTextEdit::textChanged, this,
            [this, target, memo] { Write([&] { target->SetTypedText(Bytes(MemoStored(memo->toPlainText()))); }); });
  } else if (auto* spin = qobject_cast<QSpinBox*>(object)) {
    connect(spin, &QSpinBox::valueChanged, this,
            [this, target](int value) { Write([&] { target->SetValue(value); }); });
  } else if (auto* combo = qobject_cast<QComboBox*>(object)) {
    connect(combo, &QComboBox::currentIndexChanged, this, [this, target, combo](int index) {
      Write([&] {
        if (target->ChoosesByText()) {
          target->SetText(Bytes(combo->currentText()));
        } else {
          target->SetValue(index);
        }
      });
    });
  } else if (auto* slider = qobject_cast<QSlider*>(object)) {
    connect(slider, &QSlider::valueChanged, this,
            [this, target](int value) { Write([&] { target->SetValue(value); }); });
  } else if (auto* action = qobject_cast<QAction*>(object); action && action->isCheckable()) {
    connect(action, &QAction::toggled, this, [this, target](bool on) { Write([&] { target->SetChecked(on); }); });
  }
}

// Refuses a typed character that the field's filter does not take. Pasted
// text is not checked, as it never was.
bool ControlBinder::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) {
    return QObject::eventFilter(watched, event);
  }
  auto* key = static_cast<QKeyEvent*>(event);
  const QString typed = key->text();
  if (typed.size() != 1 || key->key() == Qt::Key_Backspace || (key->modifiers() & Qt::ControlModifier) != 0) {
    return QObject::eventFilter(watched, event);
  }
  Control* control = controls_.Find(watched->objectName().toStdString());
  if (control == nullptr) {
    return false;
  }
  const std::string bytes = Bytes(typed);
  return bytes.size() == 1 && !control->AcceptsTypedChar(bytes.front());
}

void ControlBinder::OnControlChanged(const Control& control, ControlFacet facet) {
  auto found = bound_.find(&control);
  if (found != bound_.end()) {
    for (const QPointer<QObject>& object : found->second) {
      if (object) {
        Apply(object, control, facet);
      }
    }
  }
  if (pages_ && facet == ControlFacet::Value && control.Name() == ctl::kPageControl &&
      pages_->currentIndex() != control.Value()) {
    ++updating_;
    pages_->setCurrentIndex(control.Value());
    --updating_;
  }
  if (pages_ && (facet == ControlFacet::Caption || facet == ControlFacet::Hint) &&
      control.Kind() == ControlKind::TabSheet) {
    for (int i = 0; i < pages_->count(); ++i) {
      if (pages_->widget(i)->objectName().toStdString() == control.Name()) {
        if (facet == ControlFacet::Caption) {
          pages_->setTabText(i, Show(control.Caption()));
        } else {
          pages_->setTabToolTip(i, Show(control.Hint()));
        }
      }
    }
  }
}

void ControlBinder::ApplyAll(QObject* object, const Control& control) {
  ApplyValue(object, control);
  ApplyCaption(object, control);
  Apply(object, control, ControlFacet::Hint);
  Apply(object, control, ControlFacet::Enabled);
  if (!control.Visible()) {
    Apply(object, control, ControlFacet::Visible);
  }
}

void ControlBinder::Apply(QObject* object, const Control& control, ControlFacet facet) {
  ++updating_;
  switch (facet) {
    case ControlFacet::Value:
    case ControlFacet::Items:
      ApplyValue(object, control);
      break;
    case ControlFacet::Caption:
      ApplyCaption(object, control);
      break;
    case ControlFacet::Hint:
      if (control.Kind() == ControlKind::TabSheet) {
        break;  // a page's hint belongs to its tab, not to the whole page
      }
      if (auto* widget = qobject_cast<QWidget*>(object)) {
        widget->setToolTip(Show(control.Hint()));
        widget->setStatusTip(Show(control.Hint()));
      } else if (auto* action = qobject_cast<QAction*>(object)) {
        action->setToolTip(Show(control.Hint()));
        action->setStatusTip(Show(control.Hint()));
      }
      break;
    case ControlFacet::Enabled:
      if (auto* widget = qobject_cast<QWidget*>(object)) {
        widget->setEnabled(control.Enabled());
      } else if (auto* action = qobject_cast<QAction*>(object)) {
        action->setEnabled(control.Enabled());
      }
      break;
    case ControlFacet::Visible:
      if (auto* widget = qobject_cast<QWidget*>(object)) {
        widget->setVisible(control.Visible());
      } else if (auto* action = qobject_cast<QAction*>(object)) {
        action->setVisible(control.Visible());
      }
      break;
  }
  --updating_;
}

void ControlBinder::ApplyValue(QObject* object, const Control& control) {
  ++updating_;
  if (auto* button = qobject_cast<QAbstractButton*>(object); button && button->isCheckable()) {
    button->setChecked(control.Checked());
  } else if (auto* edit = qobject_cast<QLineEdit*>(object)) {
    const QString text = Show(control.Text());
    LimitTyping(edit, control, text);
    if (edit->text() != text) {
      edit->setText(text);
      edit->home(false);  // a long template shows its beginning
    }
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(object); memo && !memo->isReadOnly()) {
    const QString text = MemoShown(Show(control.Text()));
    if (memo->toPlainText() != text) {
      memo->setPlainText(text);
      memo->moveCursor(QTextCursor::End);
    }
  } else if (auto* shown = qobject_cast<QPlainTextEdit*>(object)) {
    shown->setPlainText(MemoShown(Show(control.Text())));
  } else if (auto* spin = qobject_cast<QSpinBox*>(object)) {
    spin->setRange(control.Minimum(), control.Maximum());
    spin->setValue(control.Value());
  } else if (auto* combo = qobject_cast<QComboBox*>(object)) {
    QStringList items;
    for (const std::string& item : control.Items()) {
      items << Show(item);
    }
    QStringList current;
    for (int i = 0; i < combo->count(); ++i) {
      current << combo->itemText(i);
    }
    if (current != items) {
      combo->clear();
      combo->addItems(items);
    }
    combo->setCurrentIndex(control.ChoosesByText() ? combo->findText(Show(control.Text())) : control.Value());
  } else if (auto* slider = qobject_cast<QSlider*>(object)) {
    slider->setRange(control.Minimum(), control.Maximum());
    slider->setValue(control.Value());
  } else if (auto* action = qobject_cast<QAction*>(object); action && action->isCheckable()) {
    action->setChecked(control.Checked());
  } else if (auto* table = qobject_cast<QTableView*>(object)) {
    // List views show their rows through their own models; the user list's
    // column titles are its items.
    if (auto* users = qobject_cast<UserListTableModel*>(table->model()); users && !control.Items().empty()) {
      QStringList titles;
      for (const std::string& title : control.Items()) {
        titles << Show(title);
      }
      users->SetColumnTitles(titles);
    }
  }
  --updating_;
}

void ControlBinder::ApplyCaption(QObject* object, const Control& control) {
  if (control.Caption().empty() && control.Kind() != ControlKind::Label) {
    return;  // a control without a caption of its own keeps the widget's
  }
  const QString caption = Show(control.Caption());
  if (auto* button = qobject_cast<QAbstractButton*>(object)) {
    button->setText(caption);
  } else if (auto* label = qobject_cast<QLabel*>(object)) {
    label->setText(caption);
  } else if (auto* box = qobject_cast<QGroupBox*>(object)) {
    box->setTitle(caption);
  } else if (auto* action = qobject_cast<QAction*>(object)) {
    action->setText(caption);
  } else if (auto* table = qobject_cast<QTableView*>(object)) {
    if (auto* patterns = qobject_cast<PatternListTableModel*>(table->model())) {
      patterns->SetTitle(caption);
    }
  } else if (auto* widget = qobject_cast<QWidget*>(object); widget && widget->isWindow()) {
    widget->setWindowTitle(caption);
  }
}

}  // namespace varnek
