# The Windows build (cmake/mingw-w64.cmake, preset "windows"): compiler settings, the libraries Debian
# has no mingw build of, and running programs and tests under wine. Included before any target exists.

# -municode as a compile flag only defines UNICODE; at link time it selects the wmain() entry point, so it
# is linked only into the programs that define wmain (tessaline_windows_program).
add_compile_options(-municode)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
# The C++ runtime and winpthreads linked in: the programs run without mingw DLLs beside them.
add_link_options(-static)
set(TESSALINE_WINDOWS_LIBS ole32 oleaut32 uuid user32)

# Every program started during the build or by CTest goes through wine, in a prefix of this build.
set(TESSALINE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(CMAKE_CROSSCOMPILING)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh ${TESSALINE_WINEPREFIX})
endif()

# nlohmann_json is header-only, but its host package points at /usr/include, which must not reach the mingw
# compiler: give the cross build a copy of just its headers.
find_path(TESSALINE_NLOHMANN_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH)
if(NOT TESSALINE_NLOHMANN_INCLUDE)
  message(FATAL_ERROR "nlohmann/json.hpp not found: install nlohmann-json3-dev")
endif()
file(COPY ${TESSALINE_NLOHMANN_INCLUDE}/nlohmann DESTINATION ${CMAKE_BINARY_DIR}/host-headers)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/host-headers)

# GoogleTest is built from Debian's sources (libgtest-dev/googletest) with the cross compiler.
if(TESSALINE_BUILD_TESTS)
  set(TESSALINE_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to cross-build")
  if(NOT EXISTS ${TESSALINE_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${TESSALINE_GOOGLETEST_SOURCE}: install googletest")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${TESSALINE_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(lib gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${lib})
      add_library(GTest::${lib} ALIAS ${lib})
    endif()
  endforeach()
endif()

# tessaline_windows_program(TARGET): a program whose entry point is wmain(), so it gets its command line
# in UTF-16 rather than the ANSI code page.
function(tessaline_windows_program target)
  target_link_options(${target} PRIVATE -municode)
  target_link_libraries(${target} PRIVATE ${TESSALINE_WINDOWS_LIBS})
endfunction()

# tessaline_target_path(VAR PATH): PATH as the Windows programs of this build see it. Under wine the host's
# root is drive Z:.
function(tessaline_target_path var path)
  if(CMAKE_CROSSCOMPILING)
    set(${var} "Z:${path}" PARENT_SCOPE)
  else()
    set(${var} "${path}" PARENT_SCOPE)
  endif()
endfunction()

# tessaline_wine_test(NAME name COMMAND target-or-program args... [SERVER] [TIMEOUT seconds] [LABELS ...])
# One CTest test run under wine in the build's prefix. SERVER: the test starts tessaline-office.exe, which
# registers itself machine-wide in the prefix, so such tests take turns.
function(tessaline_wine_test)
  cmake_parse_arguments(ARG "SERVER" "NAME;TIMEOUT" "COMMAND;LABELS" ${ARGN})
  if(NOT ARG_NAME OR NOT ARG_COMMAND)
    message(FATAL_ERROR "tessaline_wine_test needs NAME and COMMAND")
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  # wine-run.sh ends the program a little before CTest would, so its own kill reaches the whole program.
  math(EXPR inner "${ARG_TIMEOUT} * 9 / 10")
  add_test(NAME ${ARG_NAME} COMMAND ${ARG_COMMAND})
  set_tests_properties(${ARG_NAME} PROPERTIES
    TIMEOUT ${ARG_TIMEOUT}
    FIXTURES_REQUIRED wine_prefix
    LABELS "wine;${ARG_LABELS}"
    ENVIRONMENT "TESSALINE_WINE_TIMEOUT=${inner}")
  if(ARG_SERVER)
    set_tests_properties(${ARG_NAME} PROPERTIES RESOURCE_LOCK office_server)
  endif()
endfunction()

# The prefix is made once before the first Windows test and its wineserver ended after the last.
function(tessaline_wine_fixtures)
  add_test(NAME wine_prefix_setup COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh init ${TESSALINE_WINEPREFIX})
  add_test(NAME wine_prefix_cleanup COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh stop ${TESSALINE_WINEPREFIX})
  set_tests_properties(wine_prefix_setup PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 240 LABELS wine)
  set_tests_properties(wine_prefix_cleanup PROPERTIES FIXTURES_CLEANUP wine_prefix TIMEOUT 60 LABELS wine)
endfunction()
