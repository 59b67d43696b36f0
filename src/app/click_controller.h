// The click controller: turns the hotkeys, the interval slider and the
// background check box into the periods of the two click timers, and each
// timer tick into one click. It keeps nothing of its own; all its state is in
// the main window's controls, reached through main_form().
//
// Every routine here is an event handler or a hotkey callback: no arguments,
// no result, run on the GUI thread.
#pragma once

namespace pelvrin {

// The window's created event: registers F10 and F11, writes the speed label
// and leaves the picker disabled with the idle pointer.
void init_click_controller();

// The slider's position-changed event: "当前速度：<position>毫秒/次".
void update_speed_label();

// Each tick of 时钟3: the picker is enabled exactly in background mode, and
// the check box's caption names what ticking it again would do.
void mirror_background_mode();

// F10: runs the click timer of the current mode with the slider's interval
// and stops the other one.
void start_clicking();

// F11: stops both click timers.
void stop_clicking();

// Each tick of 时钟1: one click posted to the target in the target fields.
void background_click_tick();

// Each tick of 时钟2: one click at the cursor.
void foreground_click_tick();

}  // namespace pelvrin
