#pragma once

#include <cstdio>
#include <string_view>

namespace varnek::fuzz {

// Reports a broken invariant and stops the run so that libFuzzer keeps the input.
[[noreturn]] inline void Fail(std::string_view what) {
  std::fprintf(stderr, "fuzz invariant broken: %.*s\n", static_cast<int>(what.size()), what.data());
  __builtin_trap();
}

}  // namespace varnek::fuzz
