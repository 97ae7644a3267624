# PtokaX, the real NMDC hub that one end-to-end test logs the bot in to. It is
# built once per build tree from its source archive, kept beside the
# repository, into ${CMAKE_BINARY_DIR}/ptokax/PtokaX; nothing of it goes into
# the program. It is built without our compile options (no sanitizers): it is
# the other side of the wire, not code under test.
#
# When the archive or a package it needs is missing, the program still builds
# and the test fails with the reason, so a test run never passes without it.

set(VARNEK_PTOKAX_ARCHIVE "${CMAKE_SOURCE_DIR}/../shared/third_party/ptokax-0.5.2.2-src.tar.gz"
    CACHE FILEPATH "Source archive of the PtokaX hub for the end-to-end test")

set(ptokax_dir ${CMAKE_BINARY_DIR}/ptokax)
set(ptokax_binary ${ptokax_dir}/PtokaX)
set(ptokax_source ${ptokax_dir}/src/ptokax)

find_program(VARNEK_MAKE_PROGRAM NAMES make gmake)
find_path(VARNEK_LUA53_INCLUDE_DIR lua.h PATHS /usr/include/lua5.3 NO_DEFAULT_PATH)
find_path(VARNEK_TINYXML_INCLUDE_DIR tinyxml.h)
find_path(VARNEK_ZLIB_INCLUDE_DIR zlib.h)

set(ptokax_missing "")
if(NOT EXISTS "${VARNEK_PTOKAX_ARCHIVE}")
  list(APPEND ptokax_missing "the source archive ${VARNEK_PTOKAX_ARCHIVE}")
endif()
foreach(need VARNEK_MAKE_PROGRAM VARNEK_LUA53_INCLUDE_DIR VARNEK_TINYXML_INCLUDE_DIR VARNEK_ZLIB_INCLUDE_DIR)
  if(NOT ${need})
    list(APPEND ptokax_missing ${need})
  endif()
endforeach()

if(ptokax_missing)
  list(JOIN ptokax_missing ", " ptokax_missing)
  message(WARNING "PtokaX cannot be built (missing: ${ptokax_missing}); its end-to-end test will fail. "
                  "scripts/deps.sh --test installs its packages; -DVARNEK_PTOKAX_ARCHIVE=FILE names the archive.")
  set(ptokax_environment "VARNEK_PTOKAX_MISSING=${ptokax_missing}")
else()
  # The compiler launcher (ccache) serves PtokaX's objects too.
  list(JOIN CMAKE_CXX_COMPILER_LAUNCHER " " ptokax_launcher)
  string(STRIP "${ptokax_launcher} ${CMAKE_CXX_COMPILER}" ptokax_compiler)
  add_custom_command(
    OUTPUT ${ptokax_binary}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${ptokax_dir}/src
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ptokax_dir}/src
    COMMAND ${CMAKE_COMMAND} -E chdir ${ptokax_dir}/src ${CMAKE_COMMAND} -E tar xzf ${VARNEK_PTOKAX_ARCHIVE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ptokax_source}/obj
    COMMAND ${VARNEK_MAKE_PROGRAM} -s -j2 -C ${ptokax_source} -f ${CMAKE_CURRENT_LIST_DIR}/build.mk
            "CXX=${ptokax_compiler}" ptokax
    COMMAND ${CMAKE_COMMAND} -E copy ${ptokax_source}/PtokaX ${ptokax_binary}
    DEPENDS ${VARNEK_PTOKAX_ARCHIVE} ${CMAKE_CURRENT_LIST_DIR}/build.mk
    COMMENT "Building the PtokaX hub for the end-to-end test"
    VERBATIM)
  add_custom_target(varnek_ptokax_hub ALL DEPENDS ${ptokax_binary})
  set(ptokax_environment "VARNEK_PTOKAX=${ptokax_binary}")
endif()

set_property(TEST e2e.test_ptokax APPEND PROPERTY ENVIRONMENT "${ptokax_environment}")
