#pragma once

#include <array>
#include <string>

namespace varnek {

// The eleven columns of the user list, in display order.
enum class UserColumn {
  Username,
  ShareSize,
  ExactShareSize,
  Description,
  Tag,
  Mode,
  ConnectionType,
  Status,
  Email,
  UploadLimit,
  Ip,
};

constexpr int kUserColumnCount = 11;

// One row of the user list: display texts only.
struct UserRecord {
  std::array<std::string, kUserColumnCount> cells;

  const std::string& operator[](UserColumn column) const { return cells[static_cast<std::size_t>(column)]; }
  std::string& operator[](UserColumn column) { return cells[static_cast<std::size_t>(column)]; }
  const std::string& Nick() const { return (*this)[UserColumn::Username]; }
};

}  // namespace varnek
