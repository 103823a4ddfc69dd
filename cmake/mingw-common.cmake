# Shared by both MinGW toolchain files. The posix thread model is needed because GCC 12's
# win32 model has no std::mutex, which GoogleTest uses.
set(CMAKE_C_COMPILER ${FOLVANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${FOLVANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${FOLVANE_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${FOLVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Static runtime: the programs import only Windows system DLLs and run alone.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
if(FOLVANE_MINGW_TRIPLE MATCHES "^x86_64")
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh win64)
else()
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh win32)
endif()
