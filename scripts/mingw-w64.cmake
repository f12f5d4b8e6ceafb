# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 compiler, the
# posix thread model (std::thread and std::mutex need it).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KAVRIN_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${KAVRIN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KAVRIN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KAVRIN_MINGW_TRIPLE}-windres)

# Libraries and headers come from the MinGW tree and the prefixes given in
# CMAKE_PREFIX_PATH (our Qt, our GoogleTest), never from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${KAVRIN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Packages both ways: the host's Qt tools (moc, rcc, uic) are found as
# packages of the host.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
