// Records the click senders' platform calls, in order, and installs itself
// as the senders' platform for its lifetime.
#pragma once

#include <cstdint>
#include <vector>

#include "clicking/click_platform.h"

namespace pelvrin::fakes {

class FakeClickPlatform : public ClickPlatform {
 public:
  struct Post {
    std::uintptr_t window;
    std::uint32_t message;
    std::uintptr_t wparam;
    std::intptr_t lparam;

    bool operator==(const Post& o) const {
      return window == o.window && message == o.message && wparam == o.wparam &&
             lparam == o.lparam;
    }
  };

  static constexpr std::uintptr_t kDesktop = 0x00010014;

  FakeClickPlatform() { set_click_platform(this); }
  ~FakeClickPlatform() override { set_click_platform(nullptr); }
  FakeClickPlatform(const FakeClickPlatform&) = delete;
  FakeClickPlatform& operator=(const FakeClickPlatform&) = delete;

  std::uintptr_t desktop_window() override {
    ++desktop_queries;
    return kDesktop;
  }
  void post_message(std::uintptr_t window, std::uint32_t message, std::uintptr_t wparam,
                    std::intptr_t lparam) override {
    posts.push_back({window, message, wparam, lparam});
  }
  void mouse_event(std::uint32_t flags) override { mouse_events.push_back(flags); }

  int desktop_queries = 0;
  std::vector<Post> posts;
  std::vector<std::uint32_t> mouse_events;
};

}  // namespace pelvrin::fakes
