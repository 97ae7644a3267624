#pragma once

#include <string>
#include <string_view>

namespace varnek {

// The "Help" box of the About page: the console's own commands for the
// current trigger. Fixed English, like the rest of the About page.
std::string BuildConsoleHelpText(std::string_view trigger);

}  // namespace varnek
