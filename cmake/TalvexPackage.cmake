# SPDX-License-Identifier: MIT
# Installing on Linux, and the Debian package (cpack -G DEB, tools/build-deb):
# the programs and the demo install root in one folder, as a disc holds them,
# since the program reads everything from its own folder; launchers in bin,
# a desktop entry and the icon.
include(GNUInstallDirs)
set(TALVEX_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/talvex)
install(TARGETS talvex talvex-cadhost talvex-check RUNTIME DESTINATION ${TALVEX_INSTALL_DIR})
install(DIRECTORY ${TALVEX_ROOT_DIR}/Database ${TALVEX_ROOT_DIR}/Docs ${TALVEX_ROOT_DIR}/Files
        DESTINATION ${TALVEX_INSTALL_DIR} USE_SOURCE_PERMISSIONS)
foreach(PROGRAM talvex talvex-check)
  file(READ ${PROJECT_SOURCE_DIR}/packaging/launcher.in launcher)
  string(REPLACE "@TALVEX_INSTALL_DIR@" "${TALVEX_INSTALL_DIR}" launcher "${launcher}")
  string(REPLACE "@PROGRAM@" "${PROGRAM}" launcher "${launcher}")
  file(WRITE ${CMAKE_BINARY_DIR}/launchers/${PROGRAM} "${launcher}")
  install(PROGRAMS ${CMAKE_BINARY_DIR}/launchers/${PROGRAM} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()
# The checker's entry starts its desktop road (--gui): asks for the catalogue
# and opens the report in the browser.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/talvex.desktop ${PROJECT_SOURCE_DIR}/packaging/talvex-check.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/src/app/pictures/icon-256colors.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME talvex.png)

# Debian's documentation of the package: the copyright file, written from
# the component list, and the changelog, compressed as Debian asks.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(talvex_doc_dir ${CMAKE_BINARY_DIR}/packaging/doc)
execute_process(
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/write-licences
          --deb-copyright ${talvex_doc_dir}/copyright
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(
  COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/changelog
  OUTPUT_FILE ${talvex_doc_dir}/changelog.gz
  COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/packaging/licences/components.tsv ${PROJECT_SOURCE_DIR}/packaging/changelog
  ${PROJECT_SOURCE_DIR}/LICENSE)
install(FILES ${talvex_doc_dir}/copyright ${talvex_doc_dir}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/talvex)
# The manual pages of the two commands, compressed as Debian asks.
foreach(page talvex talvex-check)
  execute_process(
    COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/man/${page}.1
    OUTPUT_FILE ${talvex_doc_dir}/${page}.1.gz
    COMMAND_ERROR_IS_FATAL ANY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/packaging/man/${page}.1)
  install(FILES ${talvex_doc_dir}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

set(CPACK_GENERATOR DEB)
# The programs without their debug information (it stays in the build).
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_NAME talvex)
set(CPACK_PACKAGE_VENDOR "3D TALVEX")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Catalogue configurator for pneumatic cylinders, with a stand-in CAD host")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "3D TALVEX maintainers <maintainers@talvex.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION
    "An engineer picks a Series, a Type and a Bore from the maker's catalogue (an\n"
    "Access database), types the stroke, and the program stages the matching\n"
    "drawing and drives the CAD host, which stretches the 3D model to that\n"
    "stroke. On Linux the CAD host is talvex-cadhost, a stand-in shipped with\n"
    "the program. talvex-check checks a catalogue and its install root. A demo\n"
    "install root is included.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# xdg-open opens the accessories folder; the Ming face stands in for 新細明體.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-arphic-uming, fonts-noto-cjk")
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/dist)
include(CPack)
