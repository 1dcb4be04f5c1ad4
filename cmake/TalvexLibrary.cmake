# SPDX-License-Identifier: MIT
# talvex_publish_headers(<target> <folder>)
# Lets the users of <target> include src/<folder>/x.h as "<folder>/x.h", and
# only them: the build tree gets one include folder per target holding a
# single link, <folder> -> src/<folder>. A target that does not link <target>
# finds none of its headers, so the build enforces the direction of use.
function(talvex_publish_headers target folder)
  set(root ${CMAKE_BINARY_DIR}/include/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
