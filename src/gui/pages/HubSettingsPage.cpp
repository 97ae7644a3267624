// Page 2: the hub the bot connects to.

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/model/ControlNames.h"
#include "gui/PageKit.h"
#include "gui/pages/PageLayout.h"

namespace varnek {

QWidget* BuildHubSettingsPage(PageKit& kit) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(ctl::kHubSettingsTabSheet));
  auto* column = ColumnIn(page);

  QGroupBox* group = kit.Group(page, ctl::kAddressGroupBox);
  auto* grid = GridIn(group);
  QLabel* addressLabel = kit.Label(group, ctl::kHubIpLabel);
  QLineEdit* address = kit.Edit(group, ctl::kHubIpEdit);
  address->setMinimumWidth(260);
  addressLabel->setBuddy(address);  // the label's Alt key goes to its field
  grid->addWidget(addressLabel, 0, 0);
  grid->addWidget(address, 0, 1);
  QLabel* portLabel = kit.Label(group, ctl::kHubPortLabel);
  QLineEdit* port = kit.Edit(group, ctl::kHubPortEdit);
  portLabel->setBuddy(port);
  // Five digits at most: wide enough for "65535" and a little air.
  port->setFixedWidth(port->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
  grid->addWidget(portLabel, 1, 0);
  grid->addWidget(port, 1, 1, Qt::AlignLeft);
  grid->setColumnStretch(1, 1);

  // The group keeps a readable width and stays in the top left corner when
  // the window grows.
  auto* row = new QHBoxLayout;
  row->addWidget(group, 1);
  row->addStretch(1);
  column->addLayout(row);
  column->addStretch(1);
  return page;
}

}  // namespace varnek
