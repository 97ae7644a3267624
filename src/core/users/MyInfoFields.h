#pragma once

#include <cstdint>
#include <string>

namespace varnek {

// The ten values that one "$MyINFO $ALL ..." command carries, as cut out by
// ParseMyInfo. All are texts as sent; none is converted.
struct MyInfoFields {
  std::string nick;
  std::string share;  // bytes as decimal text
  std::string description;
  std::string tag;         // with its "<" and ">", or empty
  std::string hubs;        // "normal/registered/operator", as in the tag
  std::string mode;        // "A", "P", "5" or anything the client wrote
  std::string connection;  // without its last byte, the status
  std::string email;
  std::string limit;        // upload limit in KiB/s, or empty
  std::uint8_t status = 0;  // the connection field's last byte; 0 when empty
};

}  // namespace varnek
