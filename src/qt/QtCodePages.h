#pragma once

#include "core/model/Ports.h"

namespace varnek {

// Re-encodes text between the code pages Qt knows (through ICU); a name Qt
// does not know stands for windows-1252, as in HubCodec.
class QtCodePages : public CodePages {
 public:
  std::optional<std::string> Convert(std::string_view text, const std::string& from,
                                     const std::string& to) const override;
};

}  // namespace varnek
