// Picking on a screen of 144 DPI (an environment started with --dpi 144).
// The program declares itself per-monitor DPI aware, so it works in
// physical pixels: a pick at a physical client point of a window must give
// that point, and the clicks must land there. The driver works in physical
// pixels too.
// Wine 8 reports the prefix's DPI to every window but takes no DPI
// awareness from a manifest: a process is per-monitor aware unless it
// declares otherwise through the API (a thread set to unaware does see
// scaled metrics). So here this case catches a program that scales or
// virtualizes coordinates itself, not one that lost its manifest entry.
#include "framework.h"
#include "picker_drive.h"
#include "process.h"
#include "target_window.h"
#include "windows_util.h"

namespace e2e {
namespace {

const char* awareness_name(DPI_AWARENESS_CONTEXT context) {
  switch (GetAwarenessFromDpiAwarenessContext(context)) {
    case DPI_AWARENESS_UNAWARE: return "unaware";
    case DPI_AWARENESS_SYSTEM_AWARE: return "system aware";
    case DPI_AWARENESS_PER_MONITOR_AWARE: return "per-monitor aware";
    default: return "invalid";
  }
}

void pick_at_144_dpi_case(const CaseContext& context) {
  const UINT kDpi = 144;
  SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  HDC screen = GetDC(nullptr);
  say("  driver: %s, system DPI %u, LOGPIXELSX %d, screen %dx%d",
      awareness_name(GetThreadDpiAwarenessContext()), GetDpiForSystem(),
      GetDeviceCaps(screen, LOGPIXELSX), GetSystemMetrics(SM_CXSCREEN),
      GetSystemMetrics(SM_CYSCREEN));
  ReleaseDC(nullptr, screen);

  PickerProgram program(context.program);
  HWND main = program.main();
  RECT outer{};
  GetWindowRect(main, &outer);
  say("  main window %s, %s", describe(outer).c_str(),
      awareness_name(GetWindowDpiAwarenessContext(main)));
  // Without these the case would only repeat the one at 96 DPI.
  require(GetDpiForWindow(main) == kDpi,
          format("the program's window runs at %u DPI (GetDpiForWindow: %u)", kDpi,
                 GetDpiForWindow(main)));
  check(GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(main)) ==
            DPI_AWARENESS_PER_MONITOR_AWARE,
        "the program's window is per-monitor DPI aware");
  // Aware and given sizes in pixels, the window is not scaled.
  check_equal(outer.right - outer.left, 269, "outer width in physical pixels");
  check_equal(outer.bottom - outer.top, 278, "outer height in physical pixels");

  program.set_background_mode(true);
  TargetWindow target(kTargetTitle, kTargetOuter);
  require(GetDpiForWindow(target.handle()) == kDpi, "the target window runs at 144 DPI as well");
  const POINT client{120, 45};
  const POINT at = over_target(target, client);
  drag_picker(program, at, 6);
  check_fields(program.fields(), fields_for(target.handle(), kTargetTitle, client.x, client.y));
  check_background_clicks(target, client);
  program.close();
}

const CaseRegistration pick_at_144_dpi_registration{
    "pick-dpi144", "at 144 DPI a pick at a physical point gives it, and the clicks land there",
    &pick_at_144_dpi_case};

}  // namespace
}  // namespace e2e
