// The crosshair target picker: a drag from the picture box onto any window
// fills the target fields with that window's handle, its title and the
// point in its client coordinates.
#pragma once

#include <cstdint>

namespace pelvrin {

// 1 from the left-button press on the picker to its release.
extern std::int32_t g_dragging;
// The window under the pointer at the last movement of a drag.
extern std::uintptr_t g_hover_window;

void begin_target_drag();
void track_target_drag();
void end_target_drag();
void update_target_fields();

}  // namespace pelvrin
