// The crosshair picker, driven with the mouse the way a user drags it: the
// target fields and coordinate labels it fills, the clicks that background
// mode then posts to the picked window, the picker's look during a drag,
// its refusal outside background mode, and a long run of drags.
#include <string>
#include <vector>

#include "framework.h"
#include "picker_drive.h"
#include "process.h"
#include "target_window.h"
#include "windows_util.h"

namespace e2e {
namespace {

void pick_target_case(const CaseContext& context) {
  PickerProgram program(context.program);
  program.set_background_mode(true);
  TargetWindow target(kTargetTitle, kTargetOuter);
  say("  target %p %s at %s", static_cast<void*>(target.handle()), quoted(kTargetTitle).c_str(),
      describe(kTargetOuter).c_str());

  const PickerFields before = program.fields();
  say("  before the drag: %s", describe(before).c_str());

  const POINT client{120, 45};
  const POINT screen = over_target(target, client);
  drag_picker(program, screen, 6);
  check_fields(program.fields(), fields_for(target.handle(), kTargetTitle, client.x, client.y));

  check_background_clicks(target, client);
  program.close();
}

// Background mode off: the picker is disabled, so the same gesture picks
// nothing; the mouse really went there, since the target saw the release.
void picker_disabled_case(const CaseContext& context) {
  PickerProgram program(context.program);
  pump_for(300);
  require(!IsWindowEnabled(program.picker()), "the picker is disabled (background mode off)");
  TargetWindow target(kTargetTitle, kTargetOuter);
  const PickerFields before = program.fields();
  say("  before the drag: %s", describe(before).c_str());

  const POINT screen = over_target(target, POINT{120, 45});
  target.clear();
  drag_picker(program, screen, 6, [&] {
    check(program.capture() != program.picker(), "the picker does not hold the capture");
  });
  check(!target.messages_of(WM_LBUTTONUP).empty(),
        "the release reached the target under the pointer; it got:" +
            list_messages(target.messages()));
  const PickerFields after = program.fields();
  check(after == before, "no field changed: " + describe(after));
  pump_for(200);
  check(!IsWindowEnabled(program.picker()), "the picker is still disabled");
  program.close();
}

// During a drag the box is blank (white inside its border); after the
// release the crosshair is back.
void picker_mid_drag_case(const CaseContext& context) {
  PickerProgram program(context.program);
  program.set_background_mode(true);
  TargetWindow target(kTargetTitle, kTargetOuter);
  require(move_cursor_to(kParking), "the cursor is parked away from the picker");
  pump_for(300);

  const RECT interior = program.picker_interior();
  const POINT centre = program.picker_centre();
  const RECT middle{centre.x - 8, centre.y - 8, centre.x + 8, centre.y + 8};
  const int area = (interior.right - interior.left) * (interior.bottom - interior.top);
  say("  the picker's interior on screen: %s", describe(interior).c_str());
  const int before = non_white_pixels(middle);
  require(before > 0, format("before the drag the crosshair shows: %d of the 256 pixels around "
                             "the box's centre are not white", before));

  const POINT screen = over_target(target, POINT{120, 45});
  drag_picker(program, screen, 5, [&] {
    pump_for(300);
    const int during = non_white_pixels(interior);
    check(during == 0, format("during the drag the box is blank: %d of its %d interior pixels "
                              "are not white", during, area));
    RECT outer{};
    GetWindowRect(program.main(), &outer);
    request_screenshot("picker-mid-drag", outer);
  });
  pump_for(300);
  const int after = non_white_pixels(middle);
  check(after > 0, format("after the release the crosshair is back: %d of the 256 pixels around "
                          "the box's centre are not white", after));
  check(program.fields().client_x == L"120", "the drag picked client x 120");
  program.close();
}

// Over the target's frame and title bar the client coordinates are those of
// the point relative to the client area's corner, negative or beyond its
// size, written as they are.
void pick_edges_case(const CaseContext& context) {
  PickerProgram program(context.program);
  program.set_background_mode(true);
  TargetWindow target(kTargetTitle, kTargetOuter);

  RECT outer{}, client_rect{};
  GetWindowRect(target.handle(), &outer);
  GetClientRect(target.handle(), &client_rect);
  const POINT origin = target.to_screen(POINT{0, 0});
  say("  target outer %s, client origin %ld,%ld, client size %ldx%ld", describe(outer).c_str(),
      origin.x, origin.y, client_rect.right, client_rect.bottom);
  require(origin.y - outer.top >= 10 && origin.x - outer.left >= 2 &&
              outer.bottom - (origin.y + client_rect.bottom) >= 2,
          "the target has a title bar and frames to point at");

  struct Spot {
    const char* name;
    POINT screen;
  };
  const Spot spots[] = {
      {"title bar", {origin.x + 120, (outer.top + origin.y) / 2}},
      {"left frame", {(outer.left + origin.x) / 2, origin.y + 30}},
      {"bottom frame", {origin.x + 60, (origin.y + client_rect.bottom + outer.bottom) / 2}},
  };
  for (const Spot& spot : spots) {
    say("-- over the target's %s, screen %ld,%ld", spot.name, spot.screen.x, spot.screen.y);
    require(WindowFromPoint(spot.screen) == target.handle(), "the point lies over the target");
    drag_picker(program, spot.screen, 4);
    check_fields(program.fields(),
                 fields_for(target.handle(), kTargetTitle, spot.screen.x - origin.x,
                            spot.screen.y - origin.y));
  }
  program.close();
}

// ---------------------------------------------------------------------------

// One quick drag from the picker's centre to a point of the target: the
// pointer jumps into the target and moves to the point in `steps` steps,
// each held in place against the desktop putting it back (see
// pointer_settled). Should the cursor still be put back late, a press that
// the picker did not get is made again, and the last step is made again
// until the fields show the point and keep showing it; the caller reports
// how often that was needed.
struct QuickDrag {
  bool pressed = false, picked = false, released = false, kept = false;
  int presses = 0, final_moves = 0, put_back = 0;
  std::string trouble;  // what went wrong the first time something did
  void note(const std::string& what) {
    if (trouble.empty()) trouble = what;
  }
};

// The moving part of a quick drag, with the button down.
void drag_on_target(PickerProgram& program, const TargetWindow& target, POINT client, int steps,
                    QuickDrag& d) {
  const POINT entry{client.x + 20, client.y + 15};
  for (int s = 0; s <= steps; ++s) {
    const POINT p{entry.x + (client.x - entry.x) * s / steps,
                  entry.y + (client.y - entry.y) * s / steps};
    d.put_back += pointer_settled(target.to_screen(p), 2);
  }
  const POINT to = target.to_screen(client);
  auto shown = [&] { return program.point_reads(client.x, client.y); };
  while (!d.picked && d.final_moves < 30) {
    if (++d.final_moves > 1) {
      d.note("the fields showed another point: " + describe(program.fields()));
      d.put_back += pointer_settled(to, 2);
    }
    d.picked = wait_briefly(50, shown) && (pump_for(5), shown());
  }
}

QuickDrag quick_drag(PickerProgram& program, const TargetWindow& target, POINT from, POINT client,
                     int steps) {
  QuickDrag d;
  while (!d.pressed && d.presses < 5) {
    ++d.presses;
    d.put_back += pointer_settled(from, 4);
    left_down();
    d.pressed = wait_briefly(200, [&] { return program.capture() == program.picker(); });
    if (!d.pressed) {
      POINT now{};
      GetCursorPos(&now);
      d.note(format("press %d: the picker did not take the capture; cursor at %ld,%ld, capture "
                    "held by %p", d.presses, now.x, now.y, static_cast<void*>(program.capture())));
      left_up();
      pump_for(20);
    }
  }
  if (!d.pressed) return d;
  try {
    drag_on_target(program, target, client, steps, d);
  } catch (...) {
    left_up();  // never leave the button down for the cases that follow
    throw;
  }
  left_up();
  d.released = wait_briefly(2000, [&] { return program.capture() == nullptr; });
  // Returns once the program has handled the release completely.
  send(program.main(), WM_NULL);
  // The release writes nothing: the fields keep the last move's point.
  d.kept = program.point_reads(client.x, client.y);
  if (!d.kept) d.note("after the release the fields read: " + describe(program.fields()));
  return d;
}

// Many quick drags from the picker to points of the target in turn, each
// checked: the picker takes the capture and gives it back, and the fields
// show the point. The program's resident memory is printed as it goes
// (never judged here: scripts/drag-memory reports it).
void drag_loop_case(const CaseContext& context) {
  long drags = 100;
  if (!context.args.empty()) drags = std::stol(context.args[0]);
  require(drags > 0, format("a positive number of drags (%ld)", drags));
  const int steps = 4;

  PickerProgram program(context.program);
  program.set_background_mode(true);
  TargetWindow target(kTargetTitle, kTargetOuter);
  const POINT points[] = {{120, 45}, {10, 5}, {250, 150}, {60, 100}};
  for (POINT p : points) over_target(target, p);

  const long linux_pid = linux_pid_of_program(context.program);
  if (linux_pid == 0) say("  (the program's Linux process was not found; no memory figures)");
  auto report_memory = [&](long done) {
    if (linux_pid != 0) say("MEMORY drags=%ld VmRSS_kB=%ld", done, resident_kb(linux_pid));
  };

  const POINT from = program.picker_centre();
  require(move_cursor_to(from), "the cursor rests on the picker");
  report_memory(0);

  long failed = 0, presses_again = 0, moves_again = 0, put_back = 0, noted = 0;
  const ULONGLONG start = GetTickCount64();
  long done = 0;
  for (; done < drags && failed < 5; ++done) {
    const POINT client = points[done % 4];
    const QuickDrag d = quick_drag(program, target, from, client, steps);
    presses_again += d.presses - 1;
    moves_again += d.final_moves > 1 ? d.final_moves - 1 : 0;
    put_back += d.put_back;
    if (!(d.pressed && d.picked && d.released && d.kept)) {
      ++failed;
      say("  drag %ld to %ld,%ld failed:%s%s%s%s (%s)", done + 1, client.x, client.y,
          d.pressed ? "" : " the picker never took the capture (5 presses)",
          d.pressed && !d.picked ? " the fields never showed the point" : "",
          d.pressed && !d.released ? " the capture stayed after the release" : "",
          d.picked && !d.kept ? " the fields changed at the release" : "", d.trouble.c_str());
    } else if (!d.trouble.empty() && ++noted <= 3) {
      say("  (drag %ld to %ld,%ld, made good: %s)", done + 1, client.x, client.y, d.trouble.c_str());
    }
    if ((done + 1) % 100 == 0) report_memory(done + 1);
  }
  const ULONGLONG elapsed = GetTickCount64() - start;
  say("  %ld drags of %d steps in %llu ms (%.1f ms a drag); steps made again after the desktop "
      "put the cursor back: %ld; presses made again: %ld; last moves made again: %ld",
      done, steps, elapsed, static_cast<double>(elapsed) / static_cast<double>(done), put_back,
      presses_again, moves_again);
  if (done % 100 != 0) report_memory(done);

  check_equal(failed, 0, "drags that failed");
  check_equal(done, drags, "drags made");
  const POINT last = points[(done - 1) % 4];
  const PickerFields expected = fields_for(target.handle(), kTargetTitle, last.x, last.y);
  const PickerFields seen = program.fields();
  say("FIELDS after drag %ld: %s", done, seen == expected ? "right" : "wrong");
  check_fields(seen, expected);
  check(program.process().running(), "the program is still running");
  program.close();
}

const CaseRegistration pick_target_registration{
    "pick-target", "a drag onto a window fills the target fields; F10 clicks there",
    &pick_target_case};
const CaseRegistration picker_disabled_registration{
    "picker-disabled", "outside background mode a drag from the picker picks nothing",
    &picker_disabled_case};
const CaseRegistration picker_mid_drag_registration{
    "picker-mid-drag", "the box is blank during a drag and shows the crosshair after",
    &picker_mid_drag_case};
const CaseRegistration pick_edges_registration{
    "pick-edges", "over title bar and frames the client coordinates are written as they are",
    &pick_edges_case};
const CaseRegistration drag_loop_registration{
    "drag-loop", "N quick drags (argument, default 100), each checked; prints VmRSS",
    &drag_loop_case};

}  // namespace
}  // namespace e2e
