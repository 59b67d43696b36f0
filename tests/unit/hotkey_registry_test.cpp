// The hotkey registry against a recording fake of its platform calls.
#include "hotkeys/hotkey_registry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "hotkeys/hotkey_platform.h"

namespace pelvrin {
namespace {

constexpr std::uintptr_t kMainWindow = 0x00010ABC;
constexpr std::uintptr_t kOtherWindow = 0x00020DEF;
constexpr std::uintptr_t kPreviousProcedure = 0x7F001234;
constexpr std::uint32_t kF10 = 121;
constexpr std::uint32_t kF11 = 122;

// The identifiers the program registers for F10 and F11.
const char kStartIdentifier[] = "啊啊啊啊啊啊啊啊啊啊啊啊啊啊啊啊啊啊";
const char kStopIdentifier[] = "暗暗";

struct RegisterCall {
  std::uintptr_t window;
  std::int32_t id;
  std::uint32_t modifiers;
  std::uint32_t key_code;
};

struct ProcedureCall {
  std::uintptr_t procedure;
  std::uintptr_t window;
  std::uint32_t message;
  std::uintptr_t wparam;
  std::intptr_t lparam;
  bool operator==(const ProcedureCall& o) const {
    return procedure == o.procedure && window == o.window &&
           message == o.message && wparam == o.wparam && lparam == o.lparam;
  }
};

class FakeHotkeyPlatform : public HotkeyPlatform {
 public:
  std::set<std::uint32_t> refused_keys;
  std::intptr_t procedure_result = 0;

  std::vector<RegisterCall> register_calls;
  std::vector<std::uintptr_t> set_procedure_windows;
  std::vector<ProcedureCall> procedure_calls;

  bool register_hot_key(std::uintptr_t window, std::int32_t id,
                        std::uint32_t modifiers,
                        std::uint32_t key_code) override {
    register_calls.push_back({window, id, modifiers, key_code});
    return refused_keys.count(key_code) == 0;
  }
  std::uintptr_t set_window_procedure(std::uintptr_t window) override {
    set_procedure_windows.push_back(window);
    return kPreviousProcedure;
  }
  std::intptr_t call_window_procedure(std::uintptr_t procedure,
                                      std::uintptr_t window,
                                      std::uint32_t message,
                                      std::uintptr_t wparam,
                                      std::intptr_t lparam) override {
    procedure_calls.push_back({procedure, window, message, wparam, lparam});
    return procedure_result;
  }

  // The wParam the system delivers for the id of the n-th registration.
  std::uintptr_t delivered_wparam(std::size_t n) const {
    return static_cast<std::uintptr_t>(
        static_cast<std::uint32_t>(register_calls.at(n).id));
  }
};

// Which callbacks ran, in order.
std::string g_ran;
void run_a() { g_ran += 'a'; }
void run_b() { g_ran += 'b'; }
void run_c() { g_ran += 'c'; }

class HotkeyRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_ran.clear();
    set_hotkey_platform(&platform_);
    create_hotkey_table();
  }
  void TearDown() override {
    release_hotkey_table();
    set_hotkey_platform(nullptr);
  }

  std::vector<std::string> table_identifiers() const {
    std::vector<std::string> identifiers;
    for (const auto& entry : g_hotkey_table) {
      identifiers.push_back(entry->identifier);
    }
    return identifiers;
  }

  std::intptr_t send_hotkey(std::uintptr_t wparam) {
    return hotkey_window_procedure(kMainWindow, kHotkeyMessage, wparam,
                                   0x00790000);
  }

  FakeHotkeyPlatform platform_;
};

TEST_F(HotkeyRegistryTest, TwoRegistrationsInstallTheProcedureOnceInOrder) {
  EXPECT_EQ(窗口_热键注册(kMainWindow, 0, kF10, run_a, kStartIdentifier), 1);
  EXPECT_EQ(窗口_热键注册(kOtherWindow, 0x4002, kF11, run_b, kStopIdentifier),
            1);

  EXPECT_EQ(platform_.set_procedure_windows,
            std::vector<std::uintptr_t>{kMainWindow});
  EXPECT_EQ(g_previous_window_procedure, kPreviousProcedure);

  ASSERT_EQ(g_hotkey_table.size(), 2u);
  EXPECT_EQ(g_hotkey_table[0]->window, kMainWindow);
  EXPECT_EQ(g_hotkey_table[0]->identifier, std::string(kStartIdentifier));
  EXPECT_EQ(g_hotkey_table[0]->identifier.size(), 36u);
  EXPECT_EQ(g_hotkey_table[0]->callback, &run_a);
  EXPECT_EQ(g_hotkey_table[1]->window, kOtherWindow);
  EXPECT_EQ(g_hotkey_table[1]->identifier, std::string(kStopIdentifier));
  EXPECT_EQ(g_hotkey_table[1]->callback, &run_b);
  EXPECT_EQ(find_hotkey_entry(kStartIdentifier), 1);
  EXPECT_EQ(find_hotkey_entry(kStopIdentifier), 2);
  EXPECT_EQ(find_hotkey_entry("暗"), 0);

  // Window, modifiers and key reach the platform unchanged; the id is the
  // address of the caller's own text.
  ASSERT_EQ(platform_.register_calls.size(), 2u);
  const RegisterCall& second = platform_.register_calls[1];
  EXPECT_EQ(second.window, kOtherWindow);
  EXPECT_EQ(second.modifiers, 0x4002u);
  EXPECT_EQ(second.key_code, kF11);
  EXPECT_EQ(static_cast<std::uint32_t>(second.id),
            static_cast<std::uint32_t>(
                reinterpret_cast<std::uintptr_t>(kStopIdentifier)));
}

TEST_F(HotkeyRegistryTest, RefusedFirstRegistrationLeavesTheProcedureAlone) {
  platform_.refused_keys = {kF10};

  EXPECT_EQ(窗口_热键注册(kMainWindow, 0, kF10, run_a, kStartIdentifier), 0);
  EXPECT_TRUE(g_hotkey_table.empty());
  EXPECT_TRUE(platform_.set_procedure_windows.empty());
  EXPECT_EQ(g_previous_window_procedure, 0u);
  // A refused hotkey's id is not ours: its message does nothing.
  EXPECT_EQ(send_hotkey(platform_.delivered_wparam(0)), 0);
  EXPECT_EQ(g_ran, "");

  EXPECT_EQ(窗口_热键注册(kOtherWindow, 0, kF11, run_b, kStopIdentifier), 1);
  EXPECT_EQ(platform_.set_procedure_windows,
            std::vector<std::uintptr_t>{kOtherWindow});
  EXPECT_EQ(g_previous_window_procedure, kPreviousProcedure);
  EXPECT_EQ(table_identifiers(),
            std::vector<std::string>{kStopIdentifier});
}

// A second registration whose identifier equals a recorded one byte for
// byte is refused before the platform is asked; any other is accepted.
TEST_F(HotkeyRegistryTest, IdentifiersAreComparedByteForByte) {
  struct Case {
    const char* first;
    const char* second;
    bool second_accepted;
  };
  const Case cases[] = {
      {"ab", "ab", false},     {"ab", "AB", true},  {"ab", "ab ", true},
      {"ab", "a", true},       {"", "", false},     {"暗暗", "暗暗", false},
      {"暗暗", "暗", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.first) + " / " + c.second);
    release_hotkey_table();
    create_hotkey_table();
    platform_.register_calls.clear();
    g_ran.clear();
    // Separate buffers, so that equal texts never share an address.
    const std::string first(c.first);
    const std::string second(c.second);

    ASSERT_EQ(窗口_热键注册(kMainWindow, 0, kF10, run_a, first.c_str()), 1);
    EXPECT_EQ(窗口_热键注册(kMainWindow, 0, kF11, run_b, second.c_str()),
              c.second_accepted ? 1 : 0);

    EXPECT_EQ(platform_.register_calls.size(), c.second_accepted ? 2u : 1u);
    EXPECT_EQ(g_hotkey_table.size(), c.second_accepted ? 2u : 1u);
    EXPECT_EQ(g_hotkey_table[0]->callback, &run_a);
    EXPECT_EQ(find_hotkey_entry(c.first), 1);
    EXPECT_EQ(find_hotkey_entry(c.second), c.second_accepted ? 2 : 1);

    // Each accepted hotkey runs its own routine.
    send_hotkey(platform_.delivered_wparam(0));
    if (c.second_accepted) send_hotkey(platform_.delivered_wparam(1));
    EXPECT_EQ(g_ran, c.second_accepted ? "ab" : "a");
  }
}

TEST_F(HotkeyRegistryTest, OneTextAddressServesOneHotkey) {
  char buffer[] = "xy";
  ASSERT_EQ(窗口_热键注册(kMainWindow, 0, kF10, run_a, buffer), 1);
  buffer[0] = 'z';
  // The entry keeps its own copy of the text...
  EXPECT_EQ(g_hotkey_table[0]->identifier, "xy");
  // ...and the address is already the id of a hotkey.
  EXPECT_EQ(窗口_热键注册(kMainWindow, 0, kF11, run_b, buffer), 0);
  EXPECT_EQ(platform_.register_calls.size(), 1u);
  EXPECT_EQ(g_hotkey_table.size(), 1u);
}

TEST_F(HotkeyRegistryTest, MissingTextIsTheEmptyIdentifier) {
  ASSERT_EQ(窗口_热键注册(kMainWindow, 0, kF10, run_a, nullptr), 1);
  EXPECT_EQ(g_hotkey_table[0]->identifier, "");
  EXPECT_EQ(窗口_热键注册(kMainWindow, 0, kF11, run_b, ""), 0);
  EXPECT_EQ(send_hotkey(platform_.delivered_wparam(0)), 0);
  EXPECT_EQ(g_ran, "a");
}

TEST_F(HotkeyRegistryTest, OtherMessagesPassThroughUnchanged) {
  ASSERT_EQ(窗口_热键注册(kMainWindow, 0, kF10, run_a, kStartIdentifier), 1);
  ASSERT_EQ(窗口_热键注册(kMainWindow, 0, kF11, run_b, kStopIdentifier), 1);
  const std::uintptr_t start_id = platform_.delivered_wparam(0);

  struct Case {
    std::uintptr_t window;
    std::uint32_t message;
    std::uintptr_t wparam;
    std::intptr_t lparam;
    std::intptr_t result;
  };
  const Case cases[] = {
      {kMainWindow, 0x000F, 0, 0, 0},                         // paint
      {kMainWindow, 0x0002, 0, 0, 1},                         // destroy
      {kMainWindow, 0x0200, 2, 0x00640032, -1},               // mouse move
      {kOtherWindow, 0x0100, 0x1B, 0x00010001, 0x7FFFFFFF},   // key down
      {kMainWindow, 785, start_id, 0x00790000, 42},           // either side
      {kMainWindow, 787, start_id, 0x00790000, 43},           // of WM_HOTKEY
      {kMainWindow, 0xFFFFFFFFu, ~std::uintptr_t{0}, -2, INTPTR_MIN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    platform_.procedure_calls.clear();
    platform_.procedure_result = c.result;

    EXPECT_EQ(hotkey_window_procedure(c.window, c.message, c.wparam, c.lparam),
              c.result);
    const ProcedureCall expected{kPreviousProcedure, c.window, c.message,
                                 c.wparam, c.lparam};
    EXPECT_EQ(platform_.procedure_calls, std::vector<ProcedureCall>{expected});
  }
  EXPECT_EQ(g_ran, "");
}

TEST_F(HotkeyRegistryTest, RegisteredIdsRunExactlyTheirRoutine) {
  ASSERT_EQ(窗口_热键注册(kMainWindow, 0, kF10, run_a, kStartIdentifier), 1);
  ASSERT_EQ(窗口_热键注册(kMainWindow, 0, kF11, run_b, kStopIdentifier), 1);
  ASSERT_EQ(窗口_热键注册(kOtherWindow, 0, 123, run_c, "ab"), 1);
  platform_.procedure_result = 99;

  const std::uintptr_t start = platform_.delivered_wparam(0);
  const std::uintptr_t stop = platform_.delivered_wparam(1);
  const std::uintptr_t third = platform_.delivered_wparam(2);
  // The id widened with sign extension, as a 64-bit system may deliver it.
  const auto stop_signed = static_cast<std::uintptr_t>(
      static_cast<std::intptr_t>(platform_.register_calls[1].id));

  struct Case {
    std::uintptr_t wparam;
    const char* ran;
  };
  const Case cases[] = {
      {start, "a"}, {stop, "b"}, {stop_signed, "b"}, {third, "c"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ran);
    g_ran.clear();
    // Which window receives it plays no part.
    EXPECT_EQ(send_hotkey(c.wparam), 0);
    EXPECT_EQ(g_ran, c.ran);
  }
  // The previous procedure never sees a hotkey message.
  EXPECT_TRUE(platform_.procedure_calls.empty());
}

TEST_F(HotkeyRegistryTest, ForeignHotkeyMessagesAreIgnored) {
  ASSERT_EQ(窗口_热键注册(kMainWindow, 0, kF10, run_a, kStartIdentifier), 1);
  ASSERT_EQ(窗口_热键注册(kMainWindow, 0, kF11, run_b, kStopIdentifier), 1);
  static const char same_characters[] = "暗暗";
  ASSERT_NE(static_cast<const void*>(same_characters),
            static_cast<const void*>(kStopIdentifier));
  const std::uintptr_t stop = platform_.delivered_wparam(1);

  std::vector<std::uintptr_t> forged = {
      0,
      1,
      0xDEADBEEF,
      reinterpret_cast<std::uintptr_t>(same_characters),
      stop + 1,
  };
  if (sizeof(std::uintptr_t) > 4) {
    // Our id's low 32 bits under other high bits, the text's full address
    // among them.
    forged.push_back(stop ^ (std::uintptr_t{1} << (8 * sizeof(stop) - 2)));
    if (reinterpret_cast<std::uintptr_t>(kStopIdentifier) != stop) {
      forged.push_back(reinterpret_cast<std::uintptr_t>(kStopIdentifier));
    }
  }
  platform_.procedure_result = 5;
  for (std::uintptr_t wparam : forged) {
    SCOPED_TRACE(wparam);
    EXPECT_EQ(send_hotkey(wparam), 0);
  }
  EXPECT_EQ(g_ran, "");
  EXPECT_TRUE(platform_.procedure_calls.empty());
}

TEST_F(HotkeyRegistryTest, NothingRegisteredYetGivesZero) {
  platform_.procedure_result = 7;
  EXPECT_EQ(send_hotkey(0), 0);
  EXPECT_EQ(send_hotkey(reinterpret_cast<std::uintptr_t>(kStartIdentifier)),
            0);
  EXPECT_EQ(hotkey_window_procedure(kMainWindow, 0x000F, 0, 0), 0);
  EXPECT_TRUE(platform_.procedure_calls.empty());
  EXPECT_EQ(g_ran, "");
}

TEST_F(HotkeyRegistryTest, NoPlatformNothingRegisters) {
  set_hotkey_platform(nullptr);
  EXPECT_EQ(窗口_热键注册(kMainWindow, 0, kF10, run_a, kStartIdentifier), 0);
  EXPECT_TRUE(g_hotkey_table.empty());
  EXPECT_EQ(hotkey_window_procedure(kMainWindow, 0x000F, 0, 0), 0);
}

// A routine that runs a nested message loop: it dispatches another hotkey
// and registers enough hotkeys to move the table's storage.
const char* const kNestedIdentifiers[] = {"n0", "n1", "n2", "n3", "n4",
                                          "n5", "n6", "n7", "n8", "n9",
                                          "n10", "n11", "n12", "n13", "n14",
                                          "n15", "n16", "n17", "n18", "n19"};
std::uintptr_t g_nested_wparam = 0;
void run_nested() {
  g_ran += '(';
  hotkey_window_procedure(kMainWindow, kHotkeyMessage, g_nested_wparam, 0);
  for (std::uint32_t i = 0; i < 20; ++i) {
    窗口_热键注册(kMainWindow, 0, 200 + i, run_c, kNestedIdentifiers[i]);
  }
  g_ran += ')';
}

TEST_F(HotkeyRegistryTest, RoutineMayDispatchAndRegisterInside) {
  ASSERT_EQ(窗口_热键注册(kMainWindow, 0, kF10, run_nested, "outer"), 1);
  ASSERT_EQ(窗口_热键注册(kMainWindow, 0, kF11, run_b, "inner"), 1);
  g_nested_wparam = platform_.delivered_wparam(1);

  EXPECT_EQ(send_hotkey(platform_.delivered_wparam(0)), 0);
  EXPECT_EQ(g_ran, "(b)");
  ASSERT_EQ(g_hotkey_table.size(), 22u);
  EXPECT_EQ(g_hotkey_table[0]->identifier, "outer");
  EXPECT_EQ(g_hotkey_table[21]->identifier, "n19");
  EXPECT_EQ(platform_.set_procedure_windows.size(), 1u);
}

TEST_F(HotkeyRegistryTest, ReleaseForgetsEverythingAndCreateStartsAfresh) {
  ASSERT_EQ(窗口_热键注册(kMainWindow, 0, kF10, run_a, kStartIdentifier), 1);
  ASSERT_EQ(窗口_热键注册(kMainWindow, 0, kF11, run_b, kStopIdentifier), 1);
  const std::uintptr_t start = platform_.delivered_wparam(0);

  release_hotkey_table();
  EXPECT_TRUE(g_hotkey_table.empty());
  EXPECT_EQ(g_previous_window_procedure, 0u);
  EXPECT_EQ(find_hotkey_entry(kStartIdentifier), 0);
  EXPECT_EQ(send_hotkey(start), 0);
  EXPECT_EQ(g_ran, "");
  // Neither unregisters nor restores anything on the platform.
  EXPECT_EQ(platform_.register_calls.size(), 2u);
  EXPECT_EQ(platform_.set_procedure_windows.size(), 1u);

  create_hotkey_table();
  EXPECT_EQ(窗口_热键注册(kOtherWindow, 0, kF10, run_b, kStartIdentifier), 1);
  EXPECT_EQ(platform_.set_procedure_windows,
            (std::vector<std::uintptr_t>{kMainWindow, kOtherWindow}));
  EXPECT_EQ(table_identifiers(), std::vector<std::string>{kStartIdentifier});
  EXPECT_EQ(send_hotkey(platform_.delivered_wparam(2)), 0);
  EXPECT_EQ(g_ran, "b");
}

}  // namespace
}  // namespace pelvrin
