// Page 1: how the window looks and behaves, the language, the update check,
// the automatic actions and the log files.

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/BotActions.h"
#include "core/model/ControlNames.h"
#include "core/store/LangTable.h"
#include "gui/MainWindow.h"
#include "gui/PageKit.h"
#include "gui/QtTranslations.h"
#include "gui/pages/PageLayout.h"

namespace varnek {
namespace {

// How far a dependent row sits to the right of the check box it belongs to.
constexpr int kIndent = 20;

// A spin edit with its unit, below and to the right of the check box that
// switches it.
QHBoxLayout* SpinRow(PageKit& kit, QWidget* group, const char* spin, const char* unit) {
  auto* row = new QHBoxLayout;
  row->setSpacing(kGap);
  row->addSpacing(kIndent);
  row->addWidget(kit.Spin(group, spin));
  if (unit != nullptr) {
    row->addWidget(kit.Label(group, unit));
  }
  row->addStretch(1);
  return row;
}

// A sample chat line in the chat colours, with the icon of the user list.
QFrame* BuildChatPreview(PageKit& kit, QWidget* group) {
  auto* panel = new QFrame(group);
  panel->setObjectName(QString::fromLatin1(ctl::kChatPreviewPanel));
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Sunken);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(kGap, kGap, kGap, kGap);
  row->setSpacing(kGap);
  QLabel* image = kit.Label(panel, ctl::kUserImage);
  image->setFixedSize(16, 16);
  image->setPixmap(kit.window.IconFor("user").pixmap(16, 16));
  row->addWidget(image);
  QLabel* sample = kit.Label(panel, ctl::kChatPreviewLabel);
  sample->setTextFormat(Qt::PlainText);
  row->addWidget(sample, 1);
  return panel;
}

QGroupBox* BuildChatGroup(PageKit& kit, QWidget* page) {
  QGroupBox* group = kit.Group(page, ctl::kChatGroupBox);
  QVBoxLayout* column = ColumnIn(group);
  column->addWidget(BuildChatPreview(kit, group));
  auto* colours = new QHBoxLayout;
  colours->setSpacing(kGap);
  colours->addWidget(kit.Button(group, ctl::kChatFontColorButton, [&kit] { kit.bot.PickChatColour(true); }));
  colours->addWidget(kit.Button(group, ctl::kChatColorButton, [&kit] { kit.bot.PickChatColour(false); }));
  colours->addStretch(1);
  column->addLayout(colours);
  column->addWidget(kit.Check(group, ctl::kTimestampsCheckBox));
  auto* date = new QHBoxLayout;
  date->addSpacing(kIndent);
  date->addWidget(kit.Check(group, ctl::kTimestampsDateCheckBox), 1);
  column->addLayout(date);
  column->addWidget(kit.Check(group, ctl::kLinesCountCheckBox));
  column->addLayout(SpinRow(kit, group, ctl::kMaximumCountSpinEdit, nullptr));
  return group;
}

QGroupBox* BuildAlphaBlendGroup(PageKit& kit, QWidget* page) {
  QGroupBox* group = kit.Group(page, ctl::kAlphaBlendGroupBox);
  QVBoxLayout* column = ColumnIn(group);
  column->addWidget(kit.Check(group, ctl::kAlphaBlendCheckBox));
  auto* row = new QHBoxLayout;
  row->setSpacing(kGap);
  row->addWidget(kit.Slider(group, ctl::kAlphaBlendTrackBar), 1);
  QLabel* value = kit.Label(group, ctl::kAlphaBlendLabel);
  value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
  value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  row->addWidget(value);
  column->addLayout(row);
  return group;
}

QGroupBox* BuildUpdatesGroup(PageKit& kit, QWidget* page) {
  QGroupBox* group = kit.Group(page, ctl::kUpdatesGroupBox);
  QVBoxLayout* column = ColumnIn(group);
  auto* latest = new QHBoxLayout;
  latest->setSpacing(kGap);
  latest->addWidget(kit.Label(group, ctl::kLatestVersionLabel));
  latest->addWidget(kit.Label(group, ctl::kLatestLabel), 1);
  column->addLayout(latest);
  column->addWidget(kit.Check(group, ctl::kUpdatesNotifyCheckBox));
  auto* check = new QHBoxLayout;
  check->addStretch(1);
  check->addWidget(kit.Button(group, ctl::kVersionButton, [&kit] { kit.bot.CheckForUpdate(); }));
  column->addLayout(check);
  return group;
}

// The language file, and the code page the hub's text is written in.
QGroupBox* BuildLanguageGroup(PageKit& kit, QWidget* page) {
  QGroupBox* group = kit.Group(page, ctl::kLangFileGroupBox);
  auto* grid = GridIn(group);
  grid->addWidget(kit.Edit(group, ctl::kLangFileEdit), 0, 0, 1, 3);
  grid->addWidget(kit.Button(group, ctl::kLangFileButton, [&kit] { kit.bot.BrowseLanguageFile(); }), 1, 1);
  grid->addWidget(kit.Button(group, ctl::kLangReloadButton,
                             [&kit] {
                               kit.bot.ApplyLanguage();
                               FollowLanguageInQt(kit.bot.Lang().Text(LangLocale));
                             }),
                  1, 2);
  QLabel* encodingLabel = kit.Label(group, ctl::kEncodingLabel);
  grid->addWidget(encodingLabel, 2, 0);
  QComboBox* encoding = kit.Combo(group, ctl::kEncodingComboBox);
  encodingLabel->setBuddy(encoding);
  grid->addWidget(encoding, 2, 1, 1, 2);
  grid->setColumnStretch(0, 1);
  return group;
}

QGroupBox* BuildAutomaticGroup(PageKit& kit, QWidget* page) {
  QGroupBox* group = kit.Group(page, ctl::kAutomaticGroupBox);
  QVBoxLayout* column = ColumnIn(group);
  column->addWidget(kit.Check(group, ctl::kAutoConnectCheckBox));
  column->addWidget(kit.Check(group, ctl::kAutosaveCheckBox));
  column->addLayout(SpinRow(kit, group, ctl::kAutosaveSpinEdit, ctl::kMinutesLabel));
  return group;
}

QGroupBox* BuildLoggingGroup(PageKit& kit, QWidget* page) {
  QGroupBox* group = kit.Group(page, ctl::kLoggingGroupBox);
  QVBoxLayout* column = ColumnIn(group);
  for (const char* name :
       {ctl::kLogStatusCheckBox, ctl::kLogChatCheckBox, ctl::kLogDebugCheckBox, ctl::kLogKicksCheckBox}) {
    column->addWidget(kit.Check(group, name));
  }
  return group;
}

// What the tray icon tells of while the window is out of sight.
QGroupBox* BuildNotifyGroup(PageKit& kit, QWidget* page) {
  QGroupBox* group = kit.Group(page, ctl::kNotifyGroupBox);
  QVBoxLayout* column = ColumnIn(group);
  for (const char* name : {ctl::kNotifyPrivateCheckBox, ctl::kNotifyKickCheckBox, ctl::kNotifyDisconnectCheckBox}) {
    column->addWidget(kit.Check(group, name));
  }
  return group;
}

QGroupBox* BuildInfoGroup(PageKit& kit, QWidget* page) {
  QGroupBox* group = kit.Group(page, ctl::kInfoGroupBox);
  QVBoxLayout* column = ColumnIn(group);
  column->addWidget(kit.Check(group, ctl::kTryInfoCheckBox));
  column->addLayout(SpinRow(kit, group, ctl::kTryInfoSpinEdit, ctl::kMinsLabel));
  return group;
}

QVBoxLayout* Stack(std::initializer_list<QWidget*> groups) {
  auto* column = new QVBoxLayout;
  column->setSpacing(kGap);
  for (QWidget* group : groups) {
    column->addWidget(group);
  }
  column->addStretch(1);
  return column;
}

}  // namespace

QWidget* BuildClientSettingsPage(PageKit& kit) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(ctl::kClientSettingsTabSheet));
  QVBoxLayout* layout = ColumnIn(page);

  // Three columns of groups, so the fullest page fits the default window.
  auto* columns = new QHBoxLayout;
  columns->setSpacing(kGap);
  columns->addLayout(Stack({BuildChatGroup(kit, page), BuildAlphaBlendGroup(kit, page)}), 1);
  columns->addLayout(
      Stack({BuildUpdatesGroup(kit, page), BuildLanguageGroup(kit, page), BuildAutomaticGroup(kit, page)}), 1);
  columns->addLayout(Stack({BuildLoggingGroup(kit, page), BuildInfoGroup(kit, page), BuildNotifyGroup(kit, page)}), 1);
  layout->addLayout(columns, 1);

  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(kGap);
  bottom->addWidget(kit.Check(page, ctl::kMinimizeToTrayCheckBox));
  bottom->addStretch(1);
  bottom->addWidget(kit.Button(page, ctl::kSaveSettingsButton, [&kit] { kit.bot.SaveSettings(); }));
  layout->addLayout(bottom);
  return page;
}

}  // namespace varnek
