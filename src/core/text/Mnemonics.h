#pragma once

#include <string>
#include <string_view>

namespace varnek {

// A caption's "&" marks the letter that Alt takes to the control, as the
// window's toolkit reads it; "&&" stands for one "&". Where a caption is
// used as text (a column title, a dialog's prompt, a bot reply), the marks
// are left out.
std::string WithoutMnemonic(std::string_view caption);

}  // namespace varnek
