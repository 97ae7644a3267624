#pragma once

#include <QAbstractTableModel>

#include "core/model/StringListModel.h"
#include "gui/AnnouncedRemoval.h"

namespace varnek {

class HubCodec;

// One of the eight pattern and user lists as a one-column table.
class PatternListTableModel : public QAbstractTableModel, public StringListModel::Listener {
  Q_OBJECT
 public:
  PatternListTableModel(StringListModel& list, const HubCodec& codec, QObject* parent = nullptr);
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

 private:
  StringListModel& list_;
  const HubCodec& codec_;
  QString title_;
  int shown_ = 0;
  AnnouncedRemoval removal_;
};

}  // namespace varnek
