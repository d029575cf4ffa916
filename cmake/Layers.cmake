# zandrovia_layer(<name> [DEPENDS <layers>...] [LIBS <libraries>...] [EXCLUDE <files>...])
#
# Makes a static library of every .cpp file in the calling folder. Each layer
# may include only its own headers and those of the layers it depends on: the
# layer's include root holds a single link named after the folder, so
# "#include "kestrum-gui/x.h"" does not build inside the framework.
function(zandrovia_layer name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;LIBS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(excluded ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  set(root ${CMAKE_BINARY_DIR}/include-roots/${name})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${name} SYMBOLIC)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${root})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} ${ARG_LIBS})
  else()
    # A layer that has no sources yet still offers its headers.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${root})
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS} ${ARG_LIBS})
  endif()
endfunction()
