# `cpack -G DEB` in the build folder (or the `package` target) makes tessaline_VERSION_ARCH.deb. The program
# finds its workbooks, Tessaline.ppt and the in-memory Office's content in its own folder, which it reads
# from /proc/self/exe with links resolved, so everything lives in /usr/lib/tessaline and /usr/bin holds links.
# Included from the top-level CMakeLists on Linux, after the targets it installs.
include(GNUInstallDirs)
set(tessaline_libdir lib/tessaline)

install(TARGETS tessaline tessaline-scenario RUNTIME DESTINATION ${tessaline_libdir})
set(shipped_workbooks)
foreach(book TreeviewofCommandbars Menubar Tessaline)
  list(APPEND shipped_workbooks ${TESSALINE_WORKBOOK_DIR}/${book}.xls)
endforeach()
if(TESSALINE_BUILD_HOWTO)
  list(APPEND shipped_workbooks ${TESSALINE_WORKBOOK_DIR}/Tessaline.ppt)
endif()
install(FILES ${shipped_workbooks} DESTINATION ${tessaline_libdir})
file(GLOB shipped_content CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/office/*.json)
install(FILES ${shipped_content} DESTINATION ${tessaline_libdir}/office)

# Relative links, so that the tree works wherever it is unpacked.
set(link_dir ${CMAKE_BINARY_DIR}/packaging/bin)
file(MAKE_DIRECTORY ${link_dir})
foreach(program tessaline tessaline-scenario)
  file(CREATE_LINK ../${tessaline_libdir}/${program} ${link_dir}/${program} SYMBOLIC)
  install(FILES ${link_dir}/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tessaline.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tessaline.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tessaline)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaline)
set(CPACK_PACKAGE_VENDOR "Tessaline")
set(CPACK_PACKAGE_CONTACT "Tessaline maintainers <tessaline@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Office command bar tool (menu bars, toolbars, shortcut menus)")
set(CPACK_PACKAGE_DESCRIPTION
  "Tessaline lists the command bars of an Office application and the controls of each bar in two grids, and\n"
  "shows, hides, creates, deletes and resets bars and edits, moves and copies controls. On Linux it works on\n"
  "an in-memory Office of its own. Its user interface is in Simplified Chinese.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link (Qt 6, libfreexl, the C++ runtime) come from dpkg-shlibdeps; what is only
# loaded at run time is named here: Chinese glyphs, and the desktop's opener for Tessaline.ppt.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-impress")
include(CPack)

# The package is built and unpacked into a throwaway root, and the program started from there must find its
# own content and workbooks.
if(TESSALINE_BUILD_TESTS)
  add_test(NAME package_deb
    COMMAND bash ${PROJECT_SOURCE_DIR}/packaging/test-deb.sh ${CMAKE_BINARY_DIR} ${CMAKE_CPACK_COMMAND}
      $<IF:$<BOOL:${TESSALINE_BUILD_HOWTO}>,ON,OFF>)
  set_tests_properties(package_deb PROPERTIES TIMEOUT 240 LABELS package RUN_SERIAL TRUE)
endif()
