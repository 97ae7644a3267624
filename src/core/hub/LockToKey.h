#pragma once

#include <string>
#include <string_view>

namespace varnek {

// The NMDC key for a hub's lock: the lock is the text before " Pk" (the whole
// text without one). Bytes 0, 5, 36, 96, 124 and 126 of the key are written as
// "/%DCN000%/" and the like, never as themselves.
std::string LockToKey(std::string_view lockParameters);

}  // namespace varnek
