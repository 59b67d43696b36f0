#include "hotkeys/hotkey_registry.h"

#include <algorithm>
#include <utility>

#include "hotkeys/hotkey_platform.h"

namespace pelvrin {

std::vector<std::unique_ptr<HotkeyEntry>> g_hotkey_table;
std::uintptr_t g_previous_window_procedure = 0;

namespace {

HotkeyPlatform* g_platform = nullptr;

// An id handed to the platform, and the caller's text whose address it is.
// A hotkey message is only trusted when its wParam is one of these ids, and
// the identifier is then read through the remembered pointer, never through
// wParam itself.
struct RegisteredId {
  std::int32_t id;
  const char* text;
};
std::vector<RegisteredId> g_registered_ids;

// The platform's hotkey ids are 32-bit: the text's address, truncated where
// addresses are wider.
std::int32_t hotkey_id_of(const char* text) {
  const auto address = reinterpret_cast<std::uintptr_t>(text);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(address));
}

std::string_view text_at(const char* text) {
  return text == nullptr ? std::string_view() : std::string_view(text);
}

// The registered text whose id the hotkey message carries, if any. The id
// comes back in wParam widened from 32 bits, with or without sign extension.
bool registered_text_for(std::uintptr_t wparam, const char** text) {
  for (const RegisteredId& registered : g_registered_ids) {
    const auto zero_extended = static_cast<std::uintptr_t>(
        static_cast<std::uint32_t>(registered.id));
    const auto sign_extended = static_cast<std::uintptr_t>(
        static_cast<std::intptr_t>(registered.id));
    if (wparam == zero_extended || wparam == sign_extended) {
      *text = registered.text;
      return true;
    }
  }
  return false;
}

bool id_in_use(std::int32_t id) {
  return std::any_of(g_registered_ids.begin(), g_registered_ids.end(),
                     [id](const RegisteredId& r) { return r.id == id; });
}

}  // namespace

void set_hotkey_platform(HotkeyPlatform* platform) { g_platform = platform; }

int 窗口_热键注册(std::uintptr_t window, std::uint32_t modifiers,
                  std::uint32_t key_code, HotkeyCallback callback,
                  const char* 标识文本) {
  const std::string_view identifier = text_at(标识文本);
  const std::int32_t id = hotkey_id_of(标识文本);
  // One entry per identifier and one text per id, so that a hotkey message
  // always leads to exactly one routine.
  if (g_platform == nullptr || find_hotkey_entry(identifier) != 0 ||
      id_in_use(id)) {
    return 0;
  }

  // Everything that can allocate happens before the hotkey is registered,
  // so that a registered hotkey is always recorded.
  auto entry = std::make_unique<HotkeyEntry>();
  entry->window = window;
  entry->identifier = std::string(identifier);
  entry->callback = callback;
  g_hotkey_table.reserve(g_hotkey_table.size() + 1);
  g_registered_ids.reserve(g_registered_ids.size() + 1);

  if (!g_platform->register_hot_key(window, id, modifiers, key_code)) {
    return 0;
  }
  g_hotkey_table.push_back(std::move(entry));
  g_registered_ids.push_back(RegisteredId{id, 标识文本});

  // Only the first entry installs the window procedure; later ones rely on
  // it whatever window they name.
  if (g_hotkey_table.size() < 2) {
    g_previous_window_procedure = g_platform->set_window_procedure(window);
  }
  return 1;
}

void create_hotkey_table() {
  // Starts from nothing, should anything be left of an earlier table.
  release_hotkey_table();
}

void release_hotkey_table() {
  // Entries go in table order, each with its identifier.
  for (std::unique_ptr<HotkeyEntry>& entry : g_hotkey_table) {
    entry.reset();
  }
  std::vector<std::unique_ptr<HotkeyEntry>>().swap(g_hotkey_table);
  std::vector<RegisteredId>().swap(g_registered_ids);
  g_previous_window_procedure = 0;
}

std::int32_t find_hotkey_entry(std::string_view identifier) {
  for (std::size_t i = 0; i < g_hotkey_table.size(); ++i) {
    if (g_hotkey_table[i] != nullptr &&
        g_hotkey_table[i]->identifier == identifier) {
      return static_cast<std::int32_t>(i + 1);
    }
  }
  return 0;
}

std::intptr_t hotkey_window_procedure(std::uintptr_t window,
                                      std::uint32_t message,
                                      std::uintptr_t wparam,
                                      std::intptr_t lparam) {
  if (message != kHotkeyMessage) {
    if (g_platform == nullptr || g_previous_window_procedure == 0) {
      return 0;
    }
    return g_platform->call_window_procedure(g_previous_window_procedure,
                                             window, message, wparam, lparam);
  }

  // A hotkey message with an id that is not ours (anyone can post one) does
  // nothing.
  const char* registered_text = nullptr;
  if (!registered_text_for(wparam, &registered_text)) {
    return 0;
  }
  const std::string identifier(text_at(registered_text));
  const std::int32_t position = find_hotkey_entry(identifier);
  if (position == 0) {
    return 0;
  }
  // The routine may run a message loop that dispatches further messages and
  // registers more hotkeys, so nothing of the table is held across the call.
  const HotkeyCallback callback = g_hotkey_table[position - 1]->callback;
  if (callback != nullptr) {
    callback();
  }
  return 0;
}

}  // namespace pelvrin
