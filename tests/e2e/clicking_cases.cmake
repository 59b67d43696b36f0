# Clicking: hotkeys, labels, clicks at the cursor and posted clicks, and
# bad input that must not stop the program.
pelvrin_e2e_case(clicking.hotkeys-and-labels hotkeys-and-labels $<TARGET_FILE:pelvrin>)
pelvrin_e2e_case(clicking.foreground foreground-clicks $<TARGET_FILE:pelvrin>)
pelvrin_e2e_case(clicking.background background-clicks $<TARGET_FILE:pelvrin>)
pelvrin_e2e_case(clicking.bad-input.hotkey-taken bad-input-hotkey-taken $<TARGET_FILE:pelvrin>)
pelvrin_e2e_case(clicking.bad-input.target-gone bad-input-target-gone $<TARGET_FILE:pelvrin>)
pelvrin_e2e_case(clicking.bad-input.fields bad-input-fields $<TARGET_FILE:pelvrin>)

# The platform's own timer ceiling for the click-rate benchmark
# (scripts/bench): one window, one SetTimer, WM_TIMER counted.
add_executable(bare_timer WIN32 ${CMAKE_CURRENT_LIST_DIR}/bare_timer/bare_timer.cpp)
target_compile_definitions(bare_timer PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_options(bare_timer PRIVATE -municode -static -static-libgcc -static-libstdc++)
target_link_libraries(bare_timer PRIVATE user32 shell32)
