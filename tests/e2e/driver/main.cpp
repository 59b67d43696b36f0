// e2e_driver.exe CASE PROGRAM [ARGS...]
// Runs one end-to-end case against PROGRAM and exits 0 when it passed,
// 1 when it failed, 2 on a usage error. `e2e_driver.exe list` lists cases.
#include <cstring>
#include <exception>

#include "framework.h"

int wmain(int argc, wchar_t** argv) {
  using namespace e2e;
  const std::vector<Case>& cases = registered_cases();
  if (argc == 2 && std::wcscmp(argv[1], L"list") == 0) {
    for (const Case& c : cases) say("%-20s %s", c.name, c.summary);
    return 0;
  }
  if (argc < 3) {
    say("usage: e2e_driver.exe CASE PROGRAM [ARGS...]   (or: e2e_driver.exe list)");
    return 2;
  }
  const std::string name = utf8(argv[1]);
  const Case* found = nullptr;
  for (const Case& c : cases)
    if (name == c.name) found = &c;
  if (found == nullptr) {
    say("unknown case '%s'; known cases:", name.c_str());
    for (const Case& c : cases) say("  %s", c.name);
    return 2;
  }

  CaseContext context;
  context.program = windows_path(argv[2]);
  for (int i = 3; i < argc; ++i) context.args.push_back(argv[i]);

  say("== case %s: %s", found->name, found->summary);
  say("   program %s", utf8(context.program).c_str());
  const ULONGLONG start = GetTickCount64();
  bool aborted = false;
  try {
    found->run(context);
  } catch (const CaseAborted&) {
    aborted = true;
  } catch (const std::exception& e) {
    check(false, std::string("the case threw: ") + e.what());
    aborted = true;
  }
  const double seconds = static_cast<double>(GetTickCount64() - start) / 1000.0;
  if (failures() == 0) {
    say("== PASS %s (%.1f s)", found->name, seconds);
    return 0;
  }
  say("== FAIL %s: %d failed check(s)%s (%.1f s)", found->name, failures(),
      aborted ? ", case stopped at the first fatal one" : "", seconds);
  return 1;
}
