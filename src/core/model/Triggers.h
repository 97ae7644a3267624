#pragma once

#include <string>
#include <vector>

namespace varnek {

class CodePages;

// The code page of the trigger choices.
inline constexpr const char* kTriggerCodePage = "windows-1252";

// The eleven bot command triggers in the order of the trigger choice. The
// third is the section sign, byte A7 of the Windows code page.
std::vector<std::string> TriggerChoices();

// The trigger of a choice index; the first trigger for an index out of range.
std::string TriggerAt(int index);

// The trigger of a choice index in the hub's code page, the bytes that the
// hub sends and shows for it: a UTF-8 hub writes the section sign as C2 A7.
// A code page without the character keeps the byte of the choice.
std::string TriggerInCodePage(int index, const std::string& codePage, const CodePages& codePages);

}  // namespace varnek
