#include "platform/win/winapplication.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "platform/wintext/wintext.h"

namespace pw::win {
namespace {

// The picture drawn on black and on white tells each pixel's colour and how opaque it is, for
// cursors with an alpha channel and for those with a mask alike.
Picture pictureOf(HICON icon, int width, int height, int hotX, int hotY) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  std::vector<std::uint32_t> onBlack, onWhite;
  for (auto* pixels : {&onBlack, &onWhite}) {
    void* bits = nullptr;
    HBITMAP canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, canvas);
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(pixels == &onBlack ? BLACK_BRUSH : WHITE_BRUSH)));
    DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    pixels->assign(first, first + static_cast<std::size_t>(width) * height);
    SelectObject(dc, old);
    DeleteObject(canvas);
  }
  DeleteDC(dc);
  Picture picture{width, height, hotX, hotY, {}};
  picture.argb.reserve(onBlack.size());
  for (std::size_t i = 0; i < onBlack.size(); ++i) {
    const auto channel = [](std::uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); };
    const int alpha = 255 - (channel(onWhite[i], 8) - channel(onBlack[i], 8));
    std::uint32_t pixel = static_cast<std::uint32_t>(std::clamp(alpha, 0, 255)) << 24;
    for (int shift : {0, 8, 16}) {
      const int c = alpha > 0 ? std::min(255, channel(onBlack[i], shift) * 255 / alpha) : 0;
      pixel |= static_cast<std::uint32_t>(c) << shift;
    }
    picture.argb.push_back(pixel);
  }
  return picture;
}

}  // namespace

Text WinApplication::path() {
  std::wstring self(32768, L'\0');
  self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
  return fromWide(self.c_str(), self.find_last_of(L"\\/") == std::wstring::npos ? 0 : self.find_last_of(L"\\/"));
}

void WinApplication::end() {
  prepareToEnd();
  ExitProcess(0);
}

Picture WinApplication::loadPicture(TextView path) {
  const std::wstring file = wide(path);
  for (UINT type : {IMAGE_CURSOR, IMAGE_ICON}) {
    HANDLE image = LoadImageW(nullptr, file.c_str(), type, 0, 0, LR_LOADFROMFILE);
    if (!image) continue;
    const auto icon = static_cast<HICON>(image);
    ICONINFO parts{};
    GetIconInfo(icon, &parts);
    BITMAP mask{};
    GetObjectW(parts.hbmMask, sizeof mask, &mask);
    // Without a colour bitmap, the mask holds the AND and the XOR planes one above the other.
    const int height = parts.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
    Picture picture = pictureOf(icon, mask.bmWidth, height, static_cast<int>(parts.xHotspot), static_cast<int>(parts.yHotspot));
    if (parts.hbmColor) DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    if (type == IMAGE_CURSOR) DestroyCursor(icon);
    else DestroyIcon(icon);
    return picture;
  }
  throwNotAPicture(path);
}

void WinApplication::openAddress(TextView address) {
  const Text lower = [&] {
    Text t(address);
    for (auto& c : t) c = asciiLower(c);
    return t;
  }();
  const bool web = (lower.starts_with(u"http://") && lower.size() > 7) || (lower.starts_with(u"https://") && lower.size() > 8);
  if (!web || address.find_first_of(u"\" \t\r\n") != TextView::npos) {
    throwNotAWebAddress(address);
  }
  const std::wstring argument = L"\"" + wide(address) + L"\"";
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", L"explorer", argument.c_str(), nullptr, SW_SHOWMINNOACTIVE));
  if (result <= 32) {
    throwAddressNotOpened(address, u"");
  }
}

}  // namespace pw::win
