# Native build: the portable core with sanitizers, and its unit tests.
option(PELVRIN_SANITIZE "Build with AddressSanitizer and UBSan" ON)
if(PELVRIN_SANITIZE)
  set(SAN_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(pelvrin_core PUBLIC ${SAN_FLAGS})
  target_link_options(pelvrin_core PUBLIC ${SAN_FLAGS})
endif()

file(GLOB POSIX_SOURCES CONFIGURE_DEPENDS src/*/posix/*.cpp)
target_sources(pelvrin_core PRIVATE ${POSIX_SOURCES})

enable_testing()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
add_subdirectory(tests/unit)
