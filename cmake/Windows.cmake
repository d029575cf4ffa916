# What a Windows build (mingw-w64, cmake/mingw-w64-x86_64.cmake) needs beyond
# the shared set-up: included by the top CMakeLists.txt after the packages
# are found.

enable_language(RC)

# Windows has neither GLVND nor EGL: the GL library is opengl32, and the
# offscreen video driver that needs EGL is not used there.
if(NOT TARGET OpenGL::OpenGL)
  add_library(OpenGL::OpenGL INTERFACE IMPORTED)
  set_property(TARGET OpenGL::OpenGL PROPERTY INTERFACE_LINK_LIBRARIES OpenGL::GL)
endif()
if(NOT TARGET OpenGL::EGL)
  add_library(OpenGL::EGL INTERFACE IMPORTED)
endif()

# SDL's pkg-config file makes every program that links SDL a GUI program
# whose main() SDL's main library calls. That suits the game alone: the test
# and fuzz programs keep their own main() and a console for their output.
# The game links zandrovia-sdlmain, which brings SDL's main library and
# -mwindows back; main.cpp includes SDL_main.h, which renames its main.
get_target_property(sdl_libraries PkgConfig::SDL2 INTERFACE_LINK_LIBRARIES)
set(sdl_main_libraries ${sdl_libraries})
list(FILTER sdl_main_libraries INCLUDE REGEX "(mingw32|SDL2main)")
list(FILTER sdl_libraries EXCLUDE REGEX "(mingw32|SDL2main)")
get_target_property(sdl_link_options PkgConfig::SDL2 INTERFACE_LINK_OPTIONS)
get_target_property(sdl_compile_options PkgConfig::SDL2 INTERFACE_COMPILE_OPTIONS)
list(FILTER sdl_compile_options EXCLUDE REGEX "^-Dmain=")
set_target_properties(PkgConfig::SDL2 PROPERTIES
  INTERFACE_LINK_LIBRARIES "${sdl_libraries}"
  INTERFACE_LINK_OPTIONS ""
  INTERFACE_COMPILE_OPTIONS "${sdl_compile_options}")
add_library(zandrovia-sdlmain INTERFACE)
target_link_libraries(zandrovia-sdlmain INTERFACE ${sdl_main_libraries} PkgConfig::SDL2)
target_link_options(zandrovia-sdlmain INTERFACE ${sdl_link_options})

# Every program carries a manifest that makes UTF-8 its active code page, so
# the C runtime's and the "A" functions' narrow strings are UTF-8 like ours.
set(ZANDROVIA_MANIFEST_RC ${CMAKE_BINARY_DIR}/zandrovia-manifest.rc)
file(CONFIGURE OUTPUT ${ZANDROVIA_MANIFEST_RC}
     CONTENT "1 24 \"${CMAKE_SOURCE_DIR}/zandrovia/zandrovia.manifest\"\n")
set_property(SOURCE ${ZANDROVIA_MANIFEST_RC} APPEND PROPERTY
             OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/zandrovia/zandrovia.manifest)

# The DLLs a program needs at run time: the libraries' and mingw-w64's C and
# C++ runtime. Windows (and Wine) look for them beside the program.
set(ZANDROVIA_RUNTIME_DLLS)
foreach(dll SDL2.dll OpenAL32.dll libfreetype.dll)
  unset(dll_path)
  find_file(dll_path ${dll} PATH_SUFFIXES bin NO_CACHE REQUIRED)
  list(APPEND ZANDROVIA_RUNTIME_DLLS ${dll_path})
endforeach()
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE dll_path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT EXISTS ${dll_path})
    message(FATAL_ERROR "The compiler's ${dll} is missing")
  endif()
  list(APPEND ZANDROVIA_RUNTIME_DLLS ${dll_path})
endforeach()

# zandrovia_windows_program(<target>): the manifest, and the DLLs beside the
# program's folder.
function(zandrovia_windows_program target)
  target_sources(${target} PRIVATE ${ZANDROVIA_MANIFEST_RC})
  get_target_property(folder ${target} RUNTIME_OUTPUT_DIRECTORY)
  if(NOT folder)
    get_target_property(folder ${target} BINARY_DIR)
  endif()
  file(COPY ${ZANDROVIA_RUNTIME_DLLS} DESTINATION ${folder})
endfunction()

# Wine for everything the tests run: a prefix of the build's own, and no
# messages of Wine's own unless WINEDEBUG asks for them.
set(ZANDROVIA_WINE_ENVIRONMENT WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix)
if(NOT DEFINED ENV{WINEDEBUG})
  list(APPEND ZANDROVIA_WINE_ENVIRONMENT WINEDEBUG=-all)
endif()

# zandrovia_windows_path(<variable> <path>): the path as a Windows program
# under Wine sees it (drive Z: is the root of the file system).
function(zandrovia_windows_path variable path)
  set(${variable} "Z:${path}" PARENT_SCOPE)
endfunction()
