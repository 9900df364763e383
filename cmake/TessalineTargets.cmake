# tessaline_library(NAME folder-relative-to-src DEPS ...): one static library per source folder.
function(tessaline_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  if(NOT sources)
    # A folder whose code has not been written yet still takes part in the link graph.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# tessaline_test(NAME DEPS ...): one GoogleTest binary from every .cpp of the current test folder.
function(tessaline_test name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock)
  # A folder brings its own main() in TestMain.cpp when it needs one (a QApplication, say).
  if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/TestMain.cpp)
    if(WIN32)
      target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/WineTestMain.cpp)
    else()
      target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
  endif()
  tessaline_target_path(source_dir ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
    TESSALINE_SOURCE_DIR="${source_dir}"
    TESSALINE_DATA_DIR="${source_dir}/data")
  if(WIN32)
    # One wine process per test binary: one per test case would cost half a second each.
    tessaline_wine_test(NAME ${name} COMMAND ${name} TIMEOUT 300)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()

# tessaline_target_path(VAR PATH): PATH as the programs of this build see it (cmake/Windows.cmake maps it for
# the cross build run under wine).
if(NOT COMMAND tessaline_target_path)
  function(tessaline_target_path var path)
    set(${var} "${path}" PARENT_SCOPE)
  endfunction()
endif()
