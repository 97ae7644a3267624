#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace varnek {

// How long the desktop shows a notice.
inline constexpr std::uint32_t kNoticeShownMs = 10000;

// The users one notice names. A desktop notice replaces the one before it,
// so two kicks in a row would leave only the second in sight: a notice that
// comes while the last of its kind is still shown names the users of both.
// The group ends when none has come for as long as a notice is shown.
class NoticeGroup {
 public:
  // Names kept for the notice's text; the count goes on beyond them.
  static constexpr std::size_t kNamesKept = 10;

  // Adds a user at tick `now`. A user already named counts once.
  void Add(std::string_view name, std::uint32_t now);
  // The notice was not shown (the operator was at the window): the next one
  // starts a group of its own.
  void Forget();

  // The users of the group so far, and the first kNamesKept of their names.
  std::size_t Count() const { return count_; }
  const std::vector<std::string>& Names() const { return names_; }

 private:
  std::vector<std::string> names_;
  std::size_t count_ = 0;
  std::uint32_t last_ = 0;
};

}  // namespace varnek
