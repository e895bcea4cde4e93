# Cross-compiles for Windows with mingw-w64 for ${VORNIK_TRIPLE} (posix thread
# model: GoogleTest needs std::mutex; the runtime is linked statically).
set(CMAKE_SYSTEM_NAME Windows)
find_program(CMAKE_C_COMPILER NAMES ${VORNIK_TRIPLE}-gcc-posix ${VORNIK_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${VORNIK_TRIPLE}-g++-posix ${VORNIK_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${VORNIK_TRIPLE}-windres REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${VORNIK_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
