# WebAssembly with Emscripten: its own toolchain file, from $EMSCRIPTEN_ROOT or where Debian's
# package installs it.
if(DEFINED ENV{EMSCRIPTEN_ROOT})
  set(emscripten_root $ENV{EMSCRIPTEN_ROOT})
else()
  set(emscripten_root /usr/share/emscripten)
endif()
include(${emscripten_root}/cmake/Modules/Platform/Emscripten.cmake)

# Emscripten runs its JavaScript optimiser under Node at every link. Debian's Node does not look
# in Debian's own module folder, where node-acorn puts the parser the optimiser needs, so each
# link names that folder.
if(NOT DEFINED ENV{NODE_PATH} AND EXISTS /usr/share/nodejs/acorn)
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
endif()
