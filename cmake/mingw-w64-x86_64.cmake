# Cross-builds for 64-bit Windows with Debian's MinGW-w64 compilers (the POSIX thread
# model, so that std::thread and std::mutex exist). Programs are linked statically, so
# that they run without the compiler's DLLs beside them, and run through Wine where
# CMake or CTest needs to run one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KV820_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KV820_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KV820_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KV820_MINGW_PREFIX}-windres)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Headers and libraries come from the compiler's own tree and from the prefixes given in
# CMAKE_FIND_ROOT_PATH (the Windows builds of SQLite and GoogleTest); programs that run
# during the build are the machine's own.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${KV820_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(KV820_WINE wine)
if(KV820_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KV820_WINE})
endif()
