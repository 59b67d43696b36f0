# The yardsticks of the idle, start-up and size figures (scripts/bench-idle):
# one visible window and, optionally, one SetTimer that does nothing. Built
# like pelvrin.exe (static run time, GUI subsystem) so that they compare.
# bare_window_v6 is the same program with pelvrin.exe's own manifest and
# linked to Common Controls, which then loads in version 6: the part of the
# start-up that comes with that DLL.
foreach(yardstick bare_window bare_window_v6)
  set(sources ${CMAKE_CURRENT_LIST_DIR}/bare_window/bare_window.cpp)
  if(yardstick STREQUAL bare_window_v6)
    list(APPEND sources ${CMAKE_CURRENT_LIST_DIR}/bare_window/bare_window_v6.rc)
  endif()
  add_executable(${yardstick} WIN32 ${sources})
  target_include_directories(${yardstick} PRIVATE ${CMAKE_SOURCE_DIR}/resources)
  target_compile_definitions(${yardstick} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
  target_link_options(${yardstick} PRIVATE -municode -static -static-libgcc -static-libstdc++
                      -Wl,--dynamicbase -Wl,--nxcompat)
  target_link_libraries(${yardstick} PRIVATE user32)
endforeach()
target_compile_definitions(bare_window_v6 PRIVATE BARE_WINDOW_COMMON_CONTROLS)
target_link_libraries(bare_window_v6 PRIVATE comctl32)
