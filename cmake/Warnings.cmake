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

# Release builds (those the packages are made from) get the hardening that
# Debian's build flags give its packages: fortified libc calls, a stack
# protector, and relocations resolved and made read-only at start. Debug and
# sanitizer builds stay without them: fortification needs optimisation, and
# the sanitizers check more than it does.
if(NOT VARNEK_SANITIZE AND NOT VARNEK_FUZZ)
  set(VARNEK_RELEASE_CONFIG $<CONFIG:Release,RelWithDebInfo>)
  add_compile_options($<${VARNEK_RELEASE_CONFIG}:-D_FORTIFY_SOURCE=2> $<${VARNEK_RELEASE_CONFIG}:-fstack-protector-strong>)
  add_link_options($<${VARNEK_RELEASE_CONFIG}:LINKER:-z,relro,-z,now>)
endif()
