#pragma once

#include <string>

namespace varnek {

// The fixed texts of the About page.
std::string ApplicationText();
std::string CopyrightText();
std::string FaqText();
std::string ThanksText();

}  // namespace varnek
