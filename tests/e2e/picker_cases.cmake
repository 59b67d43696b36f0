# The crosshair picker, driven with the mouse: picks onto a window of the
# driver's own, the clicks that follow, the picker's look during a drag,
# the disabled picker, and a run of quick drags (scripts/drag-memory runs
# a long one and reports the program's memory).
pelvrin_e2e_case(picker.pick-target.zh_CN pick-target $<TARGET_FILE:pelvrin> --lang zh_CN.UTF-8)
pelvrin_e2e_case(picker.pick-target.en_US pick-target $<TARGET_FILE:pelvrin> --lang en_US.UTF-8)
pelvrin_e2e_case(picker.disabled picker-disabled $<TARGET_FILE:pelvrin>)
pelvrin_e2e_case(picker.mid-drag picker-mid-drag $<TARGET_FILE:pelvrin>
  --screenshots ${E2E_SCREENSHOT_DIR})
pelvrin_e2e_case(picker.edges pick-edges $<TARGET_FILE:pelvrin>)
pelvrin_e2e_case(picker.drag-loop drag-loop $<TARGET_FILE:pelvrin> -- 100)

# At 144 DPI, in an environment of its own (the shared one stays at 96).
set(E2E_DPI144_STATE_DIR ${CMAKE_BINARY_DIR}/e2e-env-dpi144)
add_test(NAME e2e.dpi144.setup
  COMMAND bash ${E2E_ENV_SCRIPT} start ${E2E_DPI144_STATE_DIR} $<TARGET_FILE:pelvrin> --dpi 144)
set_tests_properties(e2e.dpi144.setup PROPERTIES
  FIXTURES_SETUP e2e_environment_dpi144 RESOURCE_LOCK e2e_desktop LABELS e2e TIMEOUT 300)
add_test(NAME e2e.dpi144.cleanup COMMAND bash ${E2E_ENV_SCRIPT} stop ${E2E_DPI144_STATE_DIR})
set_tests_properties(e2e.dpi144.cleanup PROPERTIES
  FIXTURES_CLEANUP e2e_environment_dpi144 RESOURCE_LOCK e2e_desktop LABELS e2e TIMEOUT 60)
add_test(NAME e2e.picker.pick-dpi144
  COMMAND bash ${E2E_DIR}/run_case.sh ${E2E_DPI144_STATE_DIR} $<TARGET_FILE:e2e_driver>
          $<TARGET_FILE:pelvrin> pick-dpi144)
set_tests_properties(e2e.picker.pick-dpi144 PROPERTIES
  FIXTURES_REQUIRED e2e_environment_dpi144 RESOURCE_LOCK e2e_desktop LABELS e2e TIMEOUT 260)
