# MinGW cross build: pelvrin.exe and the end-to-end test driver.
file(GLOB WIN32_SOURCES CONFIGURE_DEPENDS src/*/win32/*.cpp)
list(FILTER WIN32_SOURCES EXCLUDE REGEX "/app/win32/main\\.cpp$")

# The Windows edge as a library, so that test builds can reuse it.
add_library(pelvrin_win32 STATIC ${WIN32_SOURCES})
target_link_libraries(pelvrin_win32 PUBLIC pelvrin_core
  user32 gdi32 shell32 comctl32 ole32 oleaut32 uuid)
target_compile_definitions(pelvrin_win32 PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)

set(PELVRIN_LINK_FLAGS -static -static-libgcc -static-libstdc++ -mwindows
    -Wl,--dynamicbase -Wl,--nxcompat)

add_executable(pelvrin WIN32 src/app/win32/main.cpp resources/pelvrin.rc)
target_link_libraries(pelvrin PRIVATE pelvrin_win32)
target_link_options(pelvrin PRIVATE ${PELVRIN_LINK_FLAGS})

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
  enable_testing()
  add_subdirectory(tests/e2e)
endif()
