# Cross-builds the Windows program on Linux with mingw-w64 (Debian's
# g++-mingw-w64-x86-64). The -posix compilers carry std::thread and std::mutex,
# which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELMORA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELMORA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMORA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMORA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELMORA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every executable stands alone: no libstdc++, libgcc or winpthread DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest runs the cross-built test programs through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# The shipped program is built for size: -Os, optimised over the whole program at
# link time, and sections nothing refers to dropped. One partition: GCC 12 for
# mingw-w64 stops with an internal compiler error (binds_to_current_def_p) when it
# splits the program in parts. No run-time type information: nothing here asks a
# type at run time (exceptions still carry theirs). A build folder made with an
# earlier default takes these too; flags chosen by hand stay.
set(VELMORA_RELEASE_FLAGS "-Os -DNDEBUG -flto -flto-partition=one -fno-rtti")
if(NOT DEFINED CACHE{CMAKE_CXX_FLAGS_RELEASE} OR CMAKE_CXX_FLAGS_RELEASE MATCHES "^(-O2 -DNDEBUG|-Os -DNDEBUG -flto -flto-partition=one)$")
  set(CMAKE_CXX_FLAGS_RELEASE "${VELMORA_RELEASE_FLAGS}" CACHE STRING "Flags for Release builds" FORCE)
endif()
if(NOT DEFINED CACHE{CMAKE_EXE_LINKER_FLAGS_RELEASE} OR CMAKE_EXE_LINKER_FLAGS_RELEASE STREQUAL "")
  set(CMAKE_EXE_LINKER_FLAGS_RELEASE "-flto -flto-partition=one -Wl,--gc-sections"
      CACHE STRING "Linker flags for Release builds" FORCE)
endif()

# How a program a person runs is linked: velmora.exe, and the bare program its
# benchmark (tools/bench-win32) sets beside it. Stripped: it carries no symbols.
# Its standard error goes nowhere, so a terminate says nothing: libstdc++'s
# verbose handler and the demangler it pulls in (about 45 KB) are left out.
# Its libstdc++ and libgcc are those of the same GCC's win32 thread model, which
# need nothing but the system: the -posix ones bring winpthread along for their
# exception support (about 23 KB). Code compiled against the -posix headers links
# to them as it is, while it starts no std::thread (that would not link) and
# takes no std::mutex (that would bring winpthread back); these programs do
# neither. The tests keep the -posix runtime: GoogleTest needs std::mutex, which
# GCC 12's win32 thread model does not have.
execute_process(COMMAND ${VELMORA_MINGW_PREFIX}-gcc-win32 -print-libgcc-file-name
                OUTPUT_VARIABLE VELMORA_WIN32_THREADS_LIBGCC OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT EXISTS "${VELMORA_WIN32_THREADS_LIBGCC}")
  message(FATAL_ERROR "No ${VELMORA_MINGW_PREFIX}-gcc-win32: install g++-mingw-w64-x86-64-win32 (tools/wine-env.sh)")
endif()
get_filename_component(VELMORA_WIN32_THREADS_RUNTIME "${VELMORA_WIN32_THREADS_LIBGCC}" DIRECTORY)
set(VELMORA_WIN32_GUI_LINK_OPTIONS -s -Wl,--defsym=_ZN9__gnu_cxx27__verbose_terminate_handlerEv=abort
    -L${VELMORA_WIN32_THREADS_RUNTIME})
