// The stand-in browser's record. The test environment puts a fake
// `xdg-open` first on PATH; Wine hands web addresses opened through the
// shell to it, and it appends one line per call to the file named by
// PELVRIN_E2E_BROWSER_LOG (a Linux path): the argument count, then each
// argument, tab-separated.
#pragma once

#include <string>
#include <vector>

namespace e2e {

struct BrowserCall {
  std::vector<std::string> arguments;
};

// Empties the record (fails the case when the environment names none).
void clear_browser_record();

// The calls recorded so far.
std::vector<BrowserCall> browser_calls();

// The shell opens the browser asynchronously, possibly after the program
// has ended: waits up to first_ms for a first call, then settle_ms more
// for any further ones, and returns all calls.
std::vector<BrowserCall> wait_for_browser_calls(unsigned first_ms, unsigned settle_ms);

// True for an absolute http or https address with a host.
bool is_web_address(const std::string& text);

// Checks that exactly one call was recorded, with one argument that is an
// absolute http(s) address.
void check_one_web_address_opened(const std::vector<BrowserCall>& calls);

}  // namespace e2e
