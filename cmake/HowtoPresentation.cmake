# Tessaline.ppt, the how-to-use presentation that "如何使用" opens from the program's folder, converted from
# its flat ODP source by LibreOffice Impress. The step runs only when the source or one of its pictures
# changes. Included from the top-level CMakeLists after src/, which sets TESSALINE_WORKBOOK_DIR.
set(howto_source ${PROJECT_SOURCE_DIR}/docs/howto/Tessaline.fodp)
set(howto_output ${TESSALINE_WORKBOOK_DIR}/Tessaline.ppt)
set(howto_work ${CMAKE_BINARY_DIR}/howto)

find_program(TESSALINE_SOFFICE NAMES soffice libreoffice)
find_program(TESSALINE_TIMEOUT NAMES timeout)
find_program(TESSALINE_BASE64 NAMES base64)
# soffice alone may be Calc only (the interoperability tests need no more); Impress adds its slide show
# beside it, and a presentation cannot be read without it.
set(impress_found FALSE)
if(TESSALINE_SOFFICE)
  get_filename_component(soffice_real ${TESSALINE_SOFFICE} REALPATH)
  get_filename_component(soffice_dir ${soffice_real} DIRECTORY)
  if(EXISTS ${soffice_dir}/libslideshowlo.so)
    set(impress_found TRUE)
  endif()
endif()
if(NOT impress_found OR NOT TESSALINE_TIMEOUT OR NOT TESSALINE_BASE64)
  message(FATAL_ERROR "Tessaline.ppt is built with LibreOffice Impress, which was not found. Install it with\n"
    "  apt-get install --no-install-recommends libreoffice-impress-nogui\n"
    "(scripts/setup.sh installs everything the build needs), or configure with -DTESSALINE_BUILD_HOWTO=OFF "
    "to build without the presentation.")
endif()

# The pictures the slides link, relative to the source's folder: a missing one is an error now, not a blank
# slide later.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${howto_source})
file(READ ${howto_source} howto_text)
string(REGEX MATCHALL "xlink:href=\"[^\"]+\"" howto_links "${howto_text}")
set(howto_pictures)
foreach(link ${howto_links})
  string(REGEX REPLACE "^xlink:href=\"(.*)\"$" "\\1" picture "${link}")
  get_filename_component(picture ${PROJECT_SOURCE_DIR}/docs/howto/${picture} ABSOLUTE)
  if(NOT EXISTS ${picture})
    message(FATAL_ERROR "${howto_source} shows ${picture}, which does not exist.")
  endif()
  list(APPEND howto_pictures ${picture})
endforeach()
list(REMOVE_DUPLICATES howto_pictures)

add_custom_command(
  OUTPUT ${howto_output}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TESSALINE_WORKBOOK_DIR}
  COMMAND ${CMAKE_COMMAND} -DSOFFICE=${TESSALINE_SOFFICE} -DTIMEOUT_PROGRAM=${TESSALINE_TIMEOUT}
    -DBASE64_PROGRAM=${TESSALINE_BASE64}
    -DSOURCE=${howto_source} -DOUTPUT=${howto_output} -DWORK=${howto_work}
    -P ${PROJECT_SOURCE_DIR}/cmake/ConvertPresentation.cmake
  DEPENDS ${howto_source} ${howto_pictures} ${PROJECT_SOURCE_DIR}/cmake/ConvertPresentation.cmake
  COMMENT "Converting the how-to-use presentation to Tessaline.ppt"
  VERBATIM)
add_custom_target(tessaline_howto ALL DEPENDS ${howto_output})
