#pragma once

#include <QAbstractTableModel>
#include <QTimer>
#include <cstdint>

#include "core/model/StringListModel.h"
#include "gui/AnnouncedChange.h"

namespace varnek {

class HubCodec;
class LangTable;
class PatternList;

// One of the eight pattern and user lists as a table: the texts, and for the
// six forbidden pattern lists a second column with the users each row has
// matched since the start.
class PatternListTableModel : public QAbstractTableModel, public StringListModel::Listener {
  Q_OBJECT
 public:
  // Without hits (null) the table has the one column of texts.
  PatternListTableModel(StringListModel& list, const HubCodec& codec, const PatternList* hits, const LangTable& lang,
                        QObject* parent = nullptr);
  ~PatternListTableModel() override;

  StringListModel& List() { return list_; }
  void SetTitle(const QString& title);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void OnRowsInserted(const StringListModel& list, int first, int count) override;
  void OnRowsRemoved(const StringListModel& list, int first, int count) override;
  void OnRowChanged(const StringListModel& list, int row) override;
  void OnListReset(const StringListModel& list) override;

  static constexpr int kTextColumn = 0;
  static constexpr int kHitsColumn = 1;

 private:
  // Hits are counted as users log in, many a second at times; the column is
  // brought up to date once a second when any count has changed.
  void RefreshHits();

  StringListModel& list_;
  const HubCodec& codec_;
  const PatternList* hits_;
  const LangTable& lang_;
  QTimer hitsTimer_;
  std::uint64_t hitsShown_ = 0;
  QString title_;
  int shown_ = 0;
  AnnouncedChange announced_;
};

}  // namespace varnek
