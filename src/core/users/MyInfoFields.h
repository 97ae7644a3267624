#pragma once

#include <cstdint>
#include <string_view>

namespace varnek {

// The ten values that one "$MyINFO $ALL ..." command carries, as cut out by
// ParseMyInfo. All are texts as sent; none is converted. They are views into
// the command's text, so they live as long as it does: nothing keeps them.
struct MyInfoFields {
  std::string_view nick;
  std::string_view share;  // bytes as decimal text
  std::string_view description;
  std::string_view tag;         // with its "<" and ">", or empty
  std::string_view hubs;        // "normal/registered/operator", as in the tag
  std::string_view mode;        // "A", "P", "5" or anything the client wrote
  std::string_view connection;  // without its last byte, the status
  std::string_view email;
  std::string_view limit;   // upload limit in KiB/s, or empty
  std::uint8_t status = 0;  // the connection field's last byte; 0 when empty
};

}  // namespace varnek
