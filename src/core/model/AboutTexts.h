#pragma once

#include <string>

namespace varnek {

// The fixed texts of the About page; the copyright line and the thanks are
// messages, in the window's language.
std::string ApplicationText();
std::string FaqText();

}  // namespace varnek
