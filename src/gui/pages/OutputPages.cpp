// Pages 9 and 10: the status pane, and the debug pane with its output mode.

#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/model/ControlNames.h"
#include "gui/PageKit.h"
#include "gui/pages/PageLayout.h"
#include "gui/widgets/PaneView.h"

namespace varnek {

QWidget* BuildStatusPage(PageKit& kit) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(ctl::kStatusTabSheet));
  auto* layout = ColumnIn(page);
  layout->addWidget(kit.Pane(page, PaneId::Status), 1);
  return page;
}

QWidget* BuildLogPage(PageKit& kit) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(ctl::kLogTabSheet));
  auto* layout = ColumnIn(page);
  layout->addWidget(kit.Pane(page, PaneId::Debug), 1);
  auto* modes = new QHBoxLayout;
  modes->setSpacing(kGap);
  for (const char* name : {ctl::kNoLogCheckBox, ctl::kFullLogCheckBox, ctl::kNiceLogCheckBox}) {
    modes->addWidget(kit.Radio(page, name));
  }
  modes->addStretch(1);
  layout->addLayout(modes);
  return page;
}

}  // namespace varnek
