#include "screen_capture.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace e2e {
namespace {

// A 32-bit top-down DIB section with its own memory DC.
class Bitmap {
 public:
  Bitmap(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~Bitmap() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  HDC dc() const { return dc_; }
  std::uint32_t at(int x, int y) const { return bits_[y * width_ + x] & 0xFFFFFFu; }
  void fill(COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all{0, 0, width_, height_};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

bool close_colours(std::uint32_t a, std::uint32_t b) {
  for (int shift = 0; shift < 24; shift += 8) {
    int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(d) > 24) return false;
  }
  return true;
}

}  // namespace

StandardIcon identify_standard_icon(const RECT& area) {
  const int slack = 2;
  const int icon_w = GetSystemMetrics(SM_CXICON), icon_h = GetSystemMetrics(SM_CYICON);
  const int w = icon_w + 2 * slack, h = icon_h + 2 * slack;
  Bitmap screen(w, h);
  HDC screen_dc = GetDC(nullptr);
  BitBlt(screen.dc(), 0, 0, w, h, screen_dc, area.left - slack, area.top - slack, SRCCOPY);
  ReleaseDC(nullptr, screen_dc);

  const StandardIcon candidates[] = {
      {IDI_HAND, "the error icon (IDI_HAND)", 0},
      {IDI_EXCLAMATION, "the warning icon (IDI_EXCLAMATION)", 0},
      {IDI_ASTERISK, "the information icon (IDI_ASTERISK)", 0},
      {IDI_QUESTION, "the question icon (IDI_QUESTION)", 0},
  };
  StandardIcon best{nullptr, "no standard icon", 0};
  for (StandardIcon candidate : candidates) {
    HICON icon = LoadIconW(nullptr, candidate.id);
    if (icon == nullptr) continue;
    // Pixels that come out the same over black and over white are opaque.
    Bitmap on_black(icon_w, icon_h), on_white(icon_w, icon_h);
    on_black.fill(RGB(0, 0, 0));
    on_white.fill(RGB(255, 255, 255));
    DrawIconEx(on_black.dc(), 0, 0, icon, icon_w, icon_h, 0, nullptr, DI_NORMAL);
    DrawIconEx(on_white.dc(), 0, 0, icon, icon_w, icon_h, 0, nullptr, DI_NORMAL);
    for (int dy = 0; dy <= 2 * slack; ++dy) {
      for (int dx = 0; dx <= 2 * slack; ++dx) {
        int opaque = 0, matching = 0;
        for (int y = 0; y < icon_h; ++y) {
          for (int x = 0; x < icon_w; ++x) {
            const std::uint32_t c = on_black.at(x, y);
            if (c != on_white.at(x, y)) continue;
            ++opaque;
            if (close_colours(c, screen.at(x + dx, y + dy))) ++matching;
          }
        }
        const double match = opaque ? static_cast<double>(matching) / opaque : 0;
        if (match > candidate.match) candidate.match = match;
      }
    }
    if (candidate.match > best.match) best = candidate;
  }
  // Below this, the box shows something else than a standard icon.
  if (best.match < 0.9) best.id = nullptr;
  return best;
}

}  // namespace e2e
