// Page 0: who the bot is on the hub and what it answers to private messages.

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/BotActions.h"
#include "core/model/ControlNames.h"
#include "gui/PageKit.h"
#include "gui/pages/PageLayout.h"

namespace varnek {
namespace {

// The identity the bot logs in with and publishes in its own MyINFO.
QGroupBox* BuildUserGroup(PageKit& kit, QWidget* page) {
  QGroupBox* group = kit.Group(page, ctl::kUserGroupBox);
  QGridLayout* grid = GridIn(group);
  const struct {
    const char* label;
    const char* edit;
    QLineEdit::EchoMode echo;
  } rows[] = {
      {ctl::kUsernameLabel, ctl::kUsernameEdit, QLineEdit::Normal},
      {ctl::kPasswordLabel, ctl::kPasswordEdit, QLineEdit::Password},
      {ctl::kDescriptionLabel, ctl::kDescriptionEdit, QLineEdit::Normal},
      {ctl::kEmailAddressLabel, ctl::kEmailAddressEdit, QLineEdit::Normal},
  };
  int row = 0;
  for (const auto& entry : rows) {
    QLabel* label = kit.Label(group, entry.label);
    QLineEdit* edit = kit.Edit(group, entry.edit);
    edit->setEchoMode(entry.echo);
    label->setBuddy(edit);  // the label's Alt key goes to its field
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    ++row;
  }
  QLabel* modeLabel = kit.Label(group, ctl::kModeLabel);
  QComboBox* mode = kit.Combo(group, ctl::kModeComboBox);
  mode->setMinimumWidth(120);
  modeLabel->setBuddy(mode);
  grid->addWidget(modeLabel, row, 0);
  grid->addWidget(mode, row, 1, Qt::AlignLeft);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(row + 1, 1);
  return group;
}

// The answer to private messages from users who may not command the bot.
QGroupBox* BuildBotMessageGroup(PageKit& kit, QWidget* page) {
  QGroupBox* group = kit.Group(page, ctl::kBotMessageGroupBox);
  QGridLayout* grid = GridIn(group);
  grid->addWidget(kit.Check(group, ctl::kMessageCheckBox), 0, 0, 1, 2);
  QPlainTextEdit* memo = kit.Memo(group, ctl::kBotMessageMemo);
  memo->setMinimumHeight(80);
  grid->addWidget(memo, 1, 0, 1, 2);
  QLabel* opChatLabel = kit.Label(group, ctl::kOpChatLabel);
  QLineEdit* opChat = kit.Edit(group, ctl::kOpChatEdit);
  opChatLabel->setBuddy(opChat);
  grid->addWidget(opChatLabel, 2, 0);
  grid->addWidget(opChat, 2, 1);
  grid->setRowStretch(1, 1);
  grid->setColumnStretch(1, 1);
  return group;
}

}  // namespace

QWidget* BuildUserSettingsPage(PageKit& kit) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(ctl::kUserSettingsTabSheet));
  auto* column = ColumnIn(page);

  auto* groups = new QHBoxLayout;
  groups->setSpacing(kGap);
  groups->addWidget(BuildUserGroup(kit, page), 1);
  groups->addWidget(BuildBotMessageGroup(kit, page), 1);
  column->addLayout(groups);
  column->addStretch(1);

  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(kit.Button(page, ctl::kResendMyInfoButton, [&kit] { kit.bot.ResendMyInfo(); }));
  column->addLayout(bottom);
  return page;
}

}  // namespace varnek
