// ParseMyInfo on arbitrary parameter texts. The parser only ever cuts the text
// at markers, so every field must be a view of a piece of the input itself,
// and the status must be the byte that follows the connection in it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "core/users/MyInfoParser.h"

namespace {

using varnek::fuzz::Fail;

void CheckPiece(std::string_view input, std::string_view name, std::string_view field) {
  const bool inside = field.data() >= input.data() && field.data() + field.size() <= input.data() + input.size();
  if (!field.empty() && !inside) {
    Fail(std::string(name) + " is not a piece of the input: " + std::string(field));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto fields = varnek::ParseMyInfo(input);
  if (fields.has_value() != input.starts_with("$ALL")) {
    Fail("parsed exactly when the text does not begin with $ALL");
  }
  if (!fields) {
    return 0;
  }
  CheckPiece(input, "nick", fields->nick);
  CheckPiece(input, "share", fields->share);
  CheckPiece(input, "description", fields->description);
  CheckPiece(input, "tag", fields->tag);
  CheckPiece(input, "hubs", fields->hubs);
  CheckPiece(input, "mode", fields->mode);
  CheckPiece(input, "connection", fields->connection);
  CheckPiece(input, "email", fields->email);
  CheckPiece(input, "limit", fields->limit);
  if (fields->nick.find(' ') != std::string::npos) {
    Fail("nick holds a blank: " + std::string(fields->nick));
  }
  if (fields->share.find('$') != std::string::npos || fields->email.find('$') != std::string::npos) {
    Fail("share or e-mail runs past its closing $");
  }
  // Without a "<" the tag runs from the start of the description, but it
  // always ends at a ">".
  if (!fields->tag.empty() && fields->tag.back() != '>') {
    Fail("tag without its closing bracket: " + std::string(fields->tag));
  }
  // The status is the connection field's last byte, so the two stand together
  // in the input, followed by the "$" that ends the field.
  if (fields->status != 0 || !fields->connection.empty()) {
    const std::string connectionAndStatus = std::string(fields->connection) + static_cast<char>(fields->status) + "$";
    if (input.find(connectionAndStatus) == std::string_view::npos) {
      Fail("connection and status are not adjacent in the input: " + std::string(fields->connection));
    }
  }
  return 0;
}
