# Common warning and sanitizer flags for every target of the project.
add_library(varnek_warnings INTERFACE)
target_compile_options(varnek_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow=local -Wnon-virtual-dtor
  # Designated initializers leave the fields they do not name at their defaults.
  -Wno-missing-field-initializers
  # GCC 12 warns falsely about std::string concatenation at -O3.
  $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)
if(VARNEK_WERROR)
  target_compile_options(varnek_warnings INTERFACE -Werror)
endif()
if(VARNEK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
