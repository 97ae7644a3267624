#pragma once

#include <string>
#include <vector>

namespace varnek {

// The eleven bot command triggers in the order of the trigger choice. The
// third is the section sign, byte A7 of the Windows code page.
std::vector<std::string> TriggerChoices();

// The trigger of a choice index; the first trigger for an index out of range.
std::string TriggerAt(int index);

}  // namespace varnek
