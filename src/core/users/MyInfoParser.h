#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/users/MyInfoFields.h"

namespace varnek {

// Cuts the parameter text of one "$MyINFO" command (everything after
// "$MyINFO ") into its ten fields. Gives nullopt when the text does not begin
// with "$ALL"; any other text is accepted, and missing markers give empty or
// shortened fields, never an error. The fields are views into the text.
std::optional<MyInfoFields> ParseMyInfo(std::string_view parameterText);
// A text that ends with the call would leave the fields viewing nothing.
std::optional<MyInfoFields> ParseMyInfo(std::string&& parameterText) = delete;
inline std::optional<MyInfoFields> ParseMyInfo(const char* parameterText) {
  return ParseMyInfo(std::string_view(parameterText));
}

// The upload limit that current clients give as their connection,
// "<N> KiB/s": the whole KiB/s before a decimal point, or empty when the
// connection has another form.
std::string_view LimitInConnection(std::string_view connection);

}  // namespace varnek
