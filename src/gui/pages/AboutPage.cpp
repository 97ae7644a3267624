// Page 11: the program's name and maker, ways to reach the maker, and the
// thanks, console help and frequently asked questions.

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QString>
#include <QVBoxLayout>

#include "core/model/ControlNames.h"
#include "core/text/Product.h"
#include "gui/PageKit.h"
#include "gui/pages/PageLayout.h"
#include "gui/widgets/LinkLabel.h"

namespace varnek {
namespace {

QString MailTo(const char* subject = nullptr) {
  QString address = QStringLiteral("mailto:") + QString::fromLatin1(kMakerEmail);
  if (subject != nullptr) {
    // The blanks of the subject must be encoded or the mail client cuts it.
    address += QStringLiteral("?subject=") + QString::fromLatin1(QByteArray(subject).toPercentEncoding());
  }
  return address;
}

QHBoxLayout* BuildLinks(PageKit& kit, QWidget* page) {
  auto* row = new QHBoxLayout;
  row->setSpacing(24);
  row->addWidget(kit.Link(page, ctl::kInfoEmailLabel, MailTo()));
  row->addWidget(kit.Link(page, ctl::kInfoWebsiteLabel, QString::fromLatin1(kWebsite)));
  row->addWidget(kit.Link(page, ctl::kInfoBugLabel, MailTo("Varnek bug report")));
  row->addWidget(kit.Link(page, ctl::kInfoFeatureLabel, MailTo("Varnek feature request")));
  row->addWidget(kit.Link(page, ctl::kProtocolLinkLabel, QString::fromLatin1(kProtocolPage)));
  row->addStretch(1);
  return row;
}

// A group with one read-only text; the text itself comes from the core.
QGroupBox* TextGroup(PageKit& kit, QWidget* page, const char* group, const char* memo) {
  QGroupBox* box = kit.Group(page, group);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(kGap, kGap, kGap, kGap);
  QPlainTextEdit* text = kit.Memo(box, memo);
  text->setReadOnly(true);
  layout->addWidget(text);
  return box;
}

}  // namespace

QWidget* BuildAboutPage(PageKit& kit) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(ctl::kAboutTabSheet));
  auto* column = ColumnIn(page);

  QLabel* application = kit.Label(page, ctl::kApplicationLabel);
  QFont large;  // only size and weight: the family follows the window's font
  large.setPointSize(18);
  large.setBold(true);
  application->setFont(large);
  column->addWidget(application);
  column->addWidget(kit.Label(page, ctl::kCopyrightLabel));
  column->addSpacing(kGap);
  column->addLayout(BuildLinks(kit, page));

  // The help is the longest text; thanks and questions share the other half.
  auto* texts = new QHBoxLayout;
  texts->setSpacing(kGap);
  texts->addWidget(TextGroup(kit, page, ctl::kHelpGroupBox, ctl::kHelpMemo), 1);
  auto* side = new QVBoxLayout;
  side->setSpacing(kGap);
  side->addWidget(TextGroup(kit, page, ctl::kThanksGroupBox, ctl::kThanksMemo), 1);
  side->addWidget(TextGroup(kit, page, ctl::kFaqGroupBox, ctl::kFaqMemo), 2);
  texts->addLayout(side, 1);
  column->addLayout(texts, 1);
  return page;
}

}  // namespace varnek
