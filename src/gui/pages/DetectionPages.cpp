// Pages 5 and 6: every detection with its kick switch, its command template
// and the switch that sends the template as raw protocol text.

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <algorithm>
#include <iterator>

#include "core/model/ControlNames.h"
#include "core/model/DetectionTable.h"
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
  const DetectionRow& row = DetectionRowOf(kind);
  DetectionWidgets widgets;
  if (row.HasKickSwitch()) {
    widgets.kick = kit.Check(parent, row.kickSwitch);
  }
  widgets.command = kit.Edit(parent, row.commandEdit);
  widgets.raw = kit.Check(parent, row.rawSwitch);
  return widgets;
}

// One detection on a row of a grid: switch, template (the stretching column)
// and raw switch. Returns the next free row.
int AddDetectionRow(QGridLayout* grid, int row, const DetectionWidgets& widgets) {
  if (widgets.kick != nullptr) {
    grid->addWidget(widgets.kick, row, 0);
  }
  grid->addWidget(widgets.command, row, 1);
  grid->addWidget(widgets.raw, row, 2);
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

// The detections without a list, one after another on the first page; the
// limit and the hub counts bring their thresholds.
constexpr DetectionKind kFirstPageDetections[] = {
    DetectionKind::Fake,  DetectionKind::Proxy, DetectionKind::Limit,
    DetectionKind::Clone, DetectionKind::Hubs,  DetectionKind::SameIp,
};

// The pattern detections in the order of their blocks on the page, which
// is not the table's: the share list has always stood third.
constexpr DetectionKind kPatternBlocks[] = {
    DetectionKind::Nick,        DetectionKind::Ip,    DetectionKind::Share,
    DetectionKind::Description, DetectionKind::Email, DetectionKind::Tag,
};

// Each detection is shown once: a pattern detection as a block of the
// second page, any other on the first.
constexpr bool EveryDetectionIsShownOnce() {
  for (const DetectionRow& row : kDetectionRows) {
    const auto first = std::count(std::begin(kFirstPageDetections), std::end(kFirstPageDetections), row.kind);
    const auto blocks = std::count(std::begin(kPatternBlocks), std::end(kPatternBlocks), row.kind);
    if (first + blocks != 1 || blocks != (row.HasPatternList() ? 1 : 0)) {
      return false;
    }
  }
  return true;
}
static_assert(EveryDetectionIsShownOnce(),
              "every detection needs its place in kFirstPageDetections, or in kPatternBlocks for a pattern list");

}  // namespace

QWidget* BuildFirstDetectionsPage(PageKit& kit) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(ctl::kaDetectionsTabSheet));
  QGridLayout* grid = GridIn(page);
  int row = 0;
  for (DetectionKind kind : kFirstPageDetections) {
    if (row > 0) {
      row = AddSeparator(page, grid, row);
    }
    if (kind == DetectionKind::Hubs) {
      row = AddHubsRows(kit, page, grid, row);
      continue;
    }
    row = AddDetectionRow(grid, row, MakeDetection(kit, page, kind));
    if (kind == DetectionKind::Limit) {
      row = AddLimitBelowRow(kit, page, grid, row);
    }
  }
  grid->setRowStretch(row, 1);
  grid->setColumnStretch(1, 1);
  return page;
}

QWidget* BuildSecondDetectionsPage(PageKit& kit) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(ctl::kbDetectionsTabSheet));
  QGridLayout* grid = GridIn(page);
  // The six lists, three a row in two rows, each titled by its column: each
  // shows about eight patterns at the default window size.
  constexpr int kColumns = 3;
  auto* lists = new QGridLayout;
  lists->setSpacing(kGap);
  int index = 0;
  for (DetectionKind kind : kPatternBlocks) {
    const char* list = DetectionRowOf(kind).patterns.listView;
    lists->addWidget(kit.PatternList(page, list, kPatternColumnWidth), index / kColumns, index % kColumns);
    ++index;
  }
  for (int column = 0; column < kColumns; ++column) {
    lists->setColumnStretch(column, 1);
  }
  grid->addLayout(lists, 0, 0, 1, 3);
  grid->setRowStretch(0, 1);
  // Below them the detections as on the first page, one a row: the template
  // takes the page's width, so its end, which differs per list, is in sight.
  int row = AddSeparator(page, grid, 1);
  for (DetectionKind kind : kPatternBlocks) {
    row = AddDetectionRow(grid, row, MakeDetection(kit, page, kind));
  }
  grid->setColumnStretch(1, 1);
  return page;
}

}  // namespace varnek
