# Reliability: forged hotkey messages, bad background targets, hotkeys held
# by another program and garbage in the target fields must neither crash the
# program nor stop it working; and a short soak (scripts/soak runs the long
# one) whose live-handle counts must end where they started.
pelvrin_e2e_case(reliability.forged-hotkey reliability-forged-hotkey $<TARGET_FILE:pelvrin>)
pelvrin_e2e_case(reliability.bad-targets reliability-bad-targets $<TARGET_FILE:pelvrin>)
pelvrin_e2e_case(reliability.hotkey-held.F10 reliability-hotkey-held $<TARGET_FILE:pelvrin> -- F10)
pelvrin_e2e_case(reliability.hotkey-held.F11 reliability-hotkey-held $<TARGET_FILE:pelvrin> -- F11)
pelvrin_e2e_case(reliability.field-garbage reliability-field-garbage $<TARGET_FILE:pelvrin>)
pelvrin_e2e_case(reliability.soak-short reliability-soak $<TARGET_FILE:pelvrin>
  --timeout 240 -- 1 100)
