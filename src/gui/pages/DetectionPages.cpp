// Pages 5 and 6: every detection with its kick switch, its command template
// and the switch that sends the template as raw protocol text.

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>

#include "core/model/ControlNames.h"
#include "core/model/KickTemplates.h"
#include "gui/PageKit.h"
#include "gui/pages/PageLayout.h"

namespace varnek {
namespace {

constexpr int kPatternColumnWidth = 310;
constexpr int kIndent = 20;  // options that refine a detection sit under its switch

struct DetectionWidgets {
  QCheckBox* kick = nullptr;  // none for the hub counts: they have three switches of their own
  QLineEdit* command = nullptr;
  QCheckBox* raw = nullptr;
};

// The raw switches are captioned by their controls, in every language alike.
DetectionWidgets MakeDetection(PageKit& kit, QWidget* parent, DetectionKind kind) {
  const KickKindInfo& info = KickKindOf(kind);
  DetectionWidgets widgets;
  if (!info.sharedSwitches) {
    widgets.kick = kit.Check(parent, KickSwitchName(info).c_str());
  }
  widgets.command = kit.Edit(parent, CommandEditName(info).c_str());
  widgets.raw = kit.Check(parent, RawSwitchName(info).c_str());
  return widgets;
}

// One detection on a row of a grid: switch, template (the stretching column)
// and raw switch, the template in the given column. Returns the next free row.
int AddDetectionRow(QGridLayout* grid, int row, const DetectionWidgets& widgets, int commandColumn = 1) {
  if (widgets.kick != nullptr) {
    grid->addWidget(widgets.kick, row, commandColumn - 1);
  }
  grid->addWidget(widgets.command, row, commandColumn);
  grid->addWidget(widgets.raw, row, commandColumn + 1);
  return row + 1;
}

int AddSeparator(QWidget* page, QGridLayout* grid, int row) {
  auto* line = new QFrame(page);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  grid->addWidget(line, row, 0, 1, 3);
  return row + 1;
}

int AddLimitBelowRow(PageKit& kit, QWidget* page, QGridLayout* grid, int row) {
  auto* below = new QHBoxLayout;
  below->setSpacing(kGap);
  below->addSpacing(kIndent);
  below->addWidget(kit.Check(page, ctl::kKickLimitBelowCheckBox));
  below->addWidget(kit.Spin(page, ctl::kKickLimitBelowSpinEdit));
  below->addWidget(new QLabel(QStringLiteral("KiB/s"), page));
  below->addStretch(1);
  grid->addLayout(below, row, 0, 1, 3);
  return row + 1;
}

// The three hub counts, each with its own threshold, share one template.
int AddHubsRows(PageKit& kit, QWidget* page, QGridLayout* grid, int row) {
  const char* const counts[][2] = {{ctl::kKickUserHubsCheckBox, ctl::kUserHubsSpinEdit},
                                   {ctl::kKickRegHubsCheckBox, ctl::kRegHubsSpinEdit},
                                   {ctl::kKickOpHubsCheckBox, ctl::kOpHubsSpinEdit}};
  for (const auto& count : counts) {
    grid->addWidget(kit.Check(page, count[0]), row, 0);
    grid->addWidget(kit.Spin(page, count[1]), row, 1, Qt::AlignLeft);
    ++row;
  }
  return AddDetectionRow(grid, row, MakeDetection(kit, page, DetectionKind::Hubs));
}

struct PatternDetection {
  DetectionKind kind;
  const char* list;
};

constexpr PatternDetection kPatternDetections[] = {
    {DetectionKind::Nick, ctl::kKickNickListView},   {DetectionKind::Ip, ctl::kKickIpListView},
    {DetectionKind::Share, ctl::kKickShareListView}, {DetectionKind::Description, ctl::kKickDescriptionListView},
    {DetectionKind::Email, ctl::kKickEmailListView}, {DetectionKind::Tag, ctl::kKickTagListView},
};

// A pattern detection: its switch above its list, its template and raw
// switch below.
QGroupBox* BuildPatternBlock(PageKit& kit, QWidget* page, const PatternDetection& detection) {
  auto* box = new QGroupBox(page);
  auto* grid = GridIn(box);
  DetectionWidgets widgets = MakeDetection(kit, box, detection.kind);
  grid->addWidget(widgets.kick, 0, 0, 1, 2);
  grid->addWidget(kit.PatternList(box, detection.list, kPatternColumnWidth), 1, 0, 1, 2);
  widgets.kick = nullptr;  // already placed above the list
  AddDetectionRow(grid, 2, widgets, 0);
  grid->setRowStretch(1, 1);
  grid->setColumnStretch(0, 1);
  return box;
}

}  // namespace

QWidget* BuildFirstDetectionsPage(PageKit& kit) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(ctl::kaDetectionsTabSheet));
  QGridLayout* grid = GridIn(page);
  int row = 0;
  row = AddDetectionRow(grid, row, MakeDetection(kit, page, DetectionKind::Fake));
  row = AddSeparator(page, grid, row);
  row = AddDetectionRow(grid, row, MakeDetection(kit, page, DetectionKind::Proxy));
  row = AddSeparator(page, grid, row);
  row = AddDetectionRow(grid, row, MakeDetection(kit, page, DetectionKind::Limit));
  row = AddLimitBelowRow(kit, page, grid, row);
  row = AddSeparator(page, grid, row);
  row = AddDetectionRow(grid, row, MakeDetection(kit, page, DetectionKind::Clone));
  row = AddSeparator(page, grid, row);
  row = AddHubsRows(kit, page, grid, row);
  row = AddSeparator(page, grid, row);
  row = AddDetectionRow(grid, row, MakeDetection(kit, page, DetectionKind::SameIp));
  grid->setRowStretch(row, 1);
  grid->setColumnStretch(1, 1);
  return page;
}

QWidget* BuildSecondDetectionsPage(PageKit& kit) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(ctl::kbDetectionsTabSheet));
  QGridLayout* grid = GridIn(page);
  // Three blocks a row, in two rows: each list shows about ten patterns at
  // the default window size, where three rows of two showed four.
  constexpr int kColumns = 3;
  int index = 0;
  for (const PatternDetection& detection : kPatternDetections) {
    grid->addWidget(BuildPatternBlock(kit, page, detection), index / kColumns, index % kColumns);
    ++index;
  }
  for (int column = 0; column < kColumns; ++column) {
    grid->setColumnStretch(column, 1);
  }
  for (int row = 0; row * kColumns < index; ++row) {
    grid->setRowStretch(row, 1);
  }
  return page;
}

}  // namespace varnek
