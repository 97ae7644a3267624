#pragma once

namespace varnek {

// The eleven columns of the user list, in display order. The detection
// table names the column each forbidden pattern list is matched against.
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

}  // namespace varnek
