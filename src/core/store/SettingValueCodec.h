#pragma once

#include <string>
#include <string_view>

namespace varnek {

// A settings value is one line of the file, so line breaks in a text (the bot
// message may hold several lines, and a bot command argument may carry any
// byte) are stored as the numeric character references "&#13;" and "&#10;".
// An "&#" already in the text is stored as "&#38;#", so every text reads back
// exactly as it was; texts without "&#", CR or LF are stored unchanged.
std::string EncodeSettingValue(std::string_view text);
std::string DecodeSettingValue(std::string_view stored);

}  // namespace varnek
