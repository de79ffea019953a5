# WebAssembly with Emscripten: its own toolchain file, from $EMSCRIPTEN_ROOT or where Debian's
# package installs it.
if(DEFINED ENV{EMSCRIPTEN_ROOT})
  set(emscripten_root $ENV{EMSCRIPTEN_ROOT})
else()
  set(emscripten_root /usr/share/emscripten)
endif()
include(${emscripten_root}/cmake/Modules/Platform/Emscripten.cmake)
