// An in-memory stand-in for the main window: property values in a map, and a
// log of every call the code under test makes on it, in order.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "app/main_form.h"
#include "runtime/form.h"

namespace pelvrin::fakes {

class FakeForm : public Form {
 public:
  struct Call {
    enum Kind { read, write, dispatch, handle, mouse_x, mouse_y };
    Kind kind;
    ControlId control = 0;
    int number = 0;
    Value value{};  // the value written, or the value a read returned

    bool operator==(const Call& o) const {
      return kind == o.kind && control == o.control && number == o.number && value == o.value;
    }
  };

  // Presets a property without logging it. Unset properties read as the
  // integer 0, which also reads as the empty text and byte string.
  void set(ControlId control, int number, Value value) {
    values_[{control, number}] = std::move(value);
  }
  void set_int(ControlId c, int n, std::int32_t v) { set(c, n, Value::of_int(v)); }
  void set_text(ControlId c, int n, std::string t) { set(c, n, Value::of_text(std::move(t))); }

  // The current value of a property, without logging.
  Value get(ControlId control, int number) const {
    auto it = values_.find({control, number});
    return it == values_.end() ? Value{} : it->second;
  }

  // Every write, in order.
  std::vector<Call> writes() const {
    std::vector<Call> out;
    for (const Call& c : calls) {
      if (c.kind == Call::write) out.push_back(c);
    }
    return out;
  }
  static Call write_of(ControlId c, int n, Value v) { return Call{Call::write, c, n, std::move(v)}; }

  // Handles: those set in `handles`, otherwise 0x10000 + the control's id.
  std::map<ControlId, std::uintptr_t> handles;
  std::int32_t pointer_x = 0;
  std::int32_t pointer_y = 0;
  // Run inside dispatch_pending(), to play events that arrive meanwhile.
  std::function<void()> on_dispatch;

  std::vector<Call> calls;

  Value read(ControlId control, int number) override {
    Value v = get(control, number);
    calls.push_back({Call::read, control, number, v});
    return v;
  }
  void write(ControlId control, int number, const Value& value) override {
    calls.push_back({Call::write, control, number, value});
    values_[{control, number}] = value;
  }
  std::uintptr_t window_handle(ControlId control) override {
    calls.push_back({Call::handle, control, 0, {}});
    auto it = handles.find(control);
    return it != handles.end() ? it->second : 0x10000u + static_cast<std::uintptr_t>(control);
  }
  void dispatch_pending() override {
    calls.push_back({Call::dispatch, 0, 0, {}});
    if (on_dispatch) on_dispatch();
  }
  std::int32_t mouse_x() override {
    calls.push_back({Call::mouse_x, 0, 0, Value::of_int(pointer_x)});
    return pointer_x;
  }
  std::int32_t mouse_y() override {
    calls.push_back({Call::mouse_y, 0, 0, Value::of_int(pointer_y)});
    return pointer_y;
  }

 private:
  std::map<std::pair<ControlId, int>, Value> values_;
};

// Makes a fake the main form for the life of the guard.
class MainFormGuard {
 public:
  explicit MainFormGuard(Form& form) { set_main_form(&form); }
  ~MainFormGuard() { set_main_form(nullptr); }
  MainFormGuard(const MainFormGuard&) = delete;
  MainFormGuard& operator=(const MainFormGuard&) = delete;
};

}  // namespace pelvrin::fakes
