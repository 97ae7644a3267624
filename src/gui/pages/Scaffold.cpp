// Placeholders of the pages not yet built, replaced by the real ones.
#include <QWidget>

#include "gui/PageKit.h"

namespace varnek {
namespace {
QWidget* Empty(const char* name) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(name));
  return page;
}
}  // namespace

__attribute__((weak)) QWidget* BuildUserSettingsPage(PageKit&) { return Empty("UserSettingsTabSheet"); }
__attribute__((weak)) QWidget* BuildClientSettingsPage(PageKit&) { return Empty("ClientSettingsTabSheet"); }
__attribute__((weak)) QWidget* BuildHubSettingsPage(PageKit&) { return Empty("HubSettingsTabSheet"); }
__attribute__((weak)) QWidget* BuildCommandSettingsPage(PageKit&) { return Empty("CommandSettingsTabSheet"); }
__attribute__((weak)) QWidget* BuildDetectionSettingsPage(PageKit&) { return Empty("DetectionSettingsTabSheet"); }
__attribute__((weak)) QWidget* BuildFirstDetectionsPage(PageKit&) { return Empty("aDetectionsTabSheet"); }
__attribute__((weak)) QWidget* BuildSecondDetectionsPage(PageKit&) { return Empty("bDetectionsTabSheet"); }
__attribute__((weak)) QWidget* BuildStatisticsPage(PageKit&) { return Empty("StatisticsTabSheet"); }
__attribute__((weak)) QWidget* BuildStatusPage(PageKit&) { return Empty("StatusTabSheet"); }
__attribute__((weak)) QWidget* BuildLogPage(PageKit&) { return Empty("LogTabSheet"); }
__attribute__((weak)) QWidget* BuildAboutPage(PageKit&) { return Empty("AboutTabSheet"); }

}  // namespace varnek
