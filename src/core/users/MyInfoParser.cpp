#include "core/users/MyInfoParser.h"

#include <algorithm>

#include "core/text/Strings.h"

namespace varnek {
namespace {

constexpr auto kNotFound = std::string_view::npos;

using FieldViews = MyInfoFields;

// substr that never throws: a start past the end gives the empty text.
std::string_view Tail(std::string_view text, std::size_t from) {
  return text.substr(std::min(from, text.size()));
}

// The text before the first `mark`. Unlike BeforeOrWhole, a missing mark gives
// nothing: a field whose closing marker never came is left empty.
std::string_view BeforeOrEmpty(std::string_view text, std::string_view mark) {
  const std::size_t hit = text.find(mark);
  return hit == kNotFound ? std::string_view{} : text.substr(0, hit);
}

// The text after the first `marker` up to the next `end`; empty when either
// is missing.
std::string_view AfterUpTo(std::string_view text, std::string_view marker, char end) {
  const std::size_t hit = text.find(marker);
  if (hit == kNotFound) {
    return {};
  }
  return BeforeOrEmpty(text.substr(hit + marker.size()), std::string_view(&end, 1));
}

// One item of the tag, by the rule the clients' tags have always been read
// with: U runs from the start marker (or is the whole tag without one), the
// item starts at U's third byte (second without the marker) and is as long as
// the end marker's 1-based position in U minus 3. With both markers present
// this is exactly the text between them; other tags give odd but harmless cuts.
std::string_view TagItem(std::string_view tag, std::string_view startMarker, std::string_view endMarker) {
  const std::size_t startHit = tag.find(startMarker);
  const std::string_view u = startHit == kNotFound ? tag : tag.substr(startHit);
  const std::size_t endHit = u.find(endMarker);
  if (endHit == kNotFound || endHit + 1 <= 3) {
    return {};
  }
  const std::size_t itemStart = startHit == kNotFound ? 1 : 2;
  return Tail(u, itemStart).substr(0, endHit - 2);
}

// Splits the description from the tag and leaves `rest` at the tag's "<" (or
// untouched without a tag). Returns whether a tag was looked for at all.
bool CutDescriptionAndTag(std::string_view& rest, FieldViews& fields) {
  if (rest.find(">$") == kNotFound) {
    fields.description = BeforeOrEmpty(rest, "$");
    return false;
  }
  const std::size_t joint = rest.find("><");
  if (joint == kNotFound) {
    const std::size_t open = rest.find('<');
    if (open != kNotFound) {
      fields.description = rest.substr(0, open);
      rest = rest.substr(open);
    }
  } else {
    // The description itself ends with ">", right before the tag.
    fields.description = rest.substr(0, joint + 1);
    rest = rest.substr(joint + 1);
  }
  const std::size_t close = rest.find('>');
  fields.tag = close == kNotFound ? std::string_view{} : rest.substr(0, close + 1);
  return true;
}

// Mode, hubs and the limit in increasing precedence: the tag's "L:" (or its
// "B:"), then the description's "L:[U:".
void ReadTagItems(FieldViews& fields) {
  fields.mode = TagItem(fields.tag, "M:", ",H:");
  fields.hubs = TagItem(fields.tag, "H:", ",S:");
  if (Contains(fields.tag, "L:")) {
    fields.limit = TagItem(fields.tag, "L:", ">");
  } else if (Contains(fields.tag, "B:")) {
    fields.limit = TagItem(fields.tag, "B:", ",D:");
  }
  if (Contains(fields.description, "L:[U:")) {
    fields.limit = AfterUpTo(fields.description, "L:[U:", '/');
  }
}

// Connection, status, e-mail and share from the text that follows the tag.
void ReadTrailingFields(std::string_view rest, FieldViews& fields) {
  const std::size_t separator = rest.find("$ $");
  // Without "$ $" the two bytes it would have taken are skipped all the same.
  rest = separator == kNotFound ? Tail(rest, 2) : rest.substr(separator + 3);
  const std::string_view connectionAndStatus = BeforeOrEmpty(rest, "$");
  if (!connectionAndStatus.empty()) {
    fields.connection = connectionAndStatus.substr(0, connectionAndStatus.size() - 1);
    fields.status = static_cast<std::uint8_t>(connectionAndStatus.back());
  }
  if (Contains(fields.connection, "NetLimiter [")) {
    fields.limit = AfterUpTo(fields.connection, "NetLimiter [", ' ');
  }
  rest = AfterOrWhole(rest, "$");
  fields.email = BeforeOrEmpty(rest, "$");
  rest = AfterOrWhole(rest, "$");
  fields.share = BeforeOrEmpty(rest, "$");
}

}  // namespace

std::string_view LimitInConnection(std::string_view connection) {
  constexpr std::string_view kUnit = " KiB/s";
  if (!connection.ends_with(kUnit)) {
    return {};
  }
  const std::string_view number = connection.substr(0, connection.size() - kUnit.size());
  const std::string_view whole = number.substr(0, number.find('.'));
  const std::string_view fraction = whole.size() < number.size() ? number.substr(whole.size() + 1) : std::string_view{};
  const auto allDigits = [](std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  const bool wellFormed =
      !whole.empty() && allDigits(whole) && allDigits(fraction) && (whole.size() == number.size() || !fraction.empty());
  return wellFormed ? whole : std::string_view{};
}

std::optional<MyInfoFields> ParseMyInfo(std::string_view parameterText) {
  // Only four bytes are compared, so "$ALLx" passes as it always has.
  if (!StartsWith(parameterText, "$ALL")) {
    return std::nullopt;
  }
  FieldViews fields;
  std::string_view rest = AfterOrWhole(parameterText, " ");
  fields.nick = BeforeOrEmpty(rest, " ");
  rest = AfterOrWhole(rest, " ");
  if (CutDescriptionAndTag(rest, fields)) {
    ReadTagItems(fields);
  }
  ReadTrailingFields(rest, fields);
  return fields;
}

}  // namespace varnek
