# SPDX-License-Identifier: MIT
# talvex_windows_resources(TARGET DESCRIPTION): gives a Windows program file
# the program's icon, a version resource (product "3D TALVEX 2017", the
# description, the project's version, the copyright line) and the
# application manifest. Nothing elsewhere.
function(talvex_windows_resources target description)
  if(NOT WIN32)
    return()
  endif()
  set(TALVEX_RC_NAME ${target})
  set(TALVEX_RC_DESCRIPTION "${description}")
  set(TALVEX_RC_ICON ${PROJECT_SOURCE_DIR}/src/app/pictures/talvex.ico)
  set(TALVEX_RC_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  set(TALVEX_RC_VERSION_DOTS ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0)
  set(TALVEX_RC_VERSION_COMMAS ${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,0)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.manifest ${TALVEX_RC_MANIFEST} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc APPEND PROPERTY
               OBJECT_DEPENDS ${TALVEX_RC_ICON} ${TALVEX_RC_MANIFEST})
endfunction()
