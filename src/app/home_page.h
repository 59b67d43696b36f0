#pragma once

#include <string_view>

namespace pelvrin {

// The project's home page, opened when the window closes and by the link.
inline constexpr std::string_view home_page_address = "https://pelvrin.example/";

}  // namespace pelvrin
