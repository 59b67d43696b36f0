// Move-only owner of one platform handle, with a count of the handles of its
// kind that are alive, so that tests can see that nothing leaks.
// Traits give the handle type, the empty value and how to release it.
#pragma once

#include <utility>

namespace pelvrin {

template <class Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) { reset(h); }
  // Moving hands the handle over; the live count does not change.
  UniqueHandle(UniqueHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, Traits::empty())) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, Traits::empty());
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::empty(); }

  // Releases the held handle (if any) and takes `h`.
  void reset(Handle h = Traits::empty()) {
    if (handle_ != Traits::empty()) {
      Traits::close(handle_);
      --live_;
    }
    handle_ = h;
    if (handle_ != Traits::empty()) ++live_;
  }

  // Gives up ownership without releasing.
  Handle release() {
    Handle h = handle_;
    if (h != Traits::empty()) --live_;
    handle_ = Traits::empty();
    return h;
  }

  // Handles of this kind owned right now, across all owners.
  static int live_count() { return live_; }

 private:
  Handle handle_ = Traits::empty();
  static inline int live_ = 0;
};

}  // namespace pelvrin
