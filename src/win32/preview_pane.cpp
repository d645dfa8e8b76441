#include "win32/preview_pane.h"

#include <algorithm>
#include <string>

#include <commctrl.h>
#include <mmsystem.h>

#include "preview/pane_texts.h"
#include "win32/text.h"

namespace winui {

namespace {

constexpr UINT_PTR kPictureWatchId = 0x5056;
constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT_PTR kSoundTimer = 2;

std::string joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) out += (out.empty() ? "" : "\r\n") + line;
  return out;
}

// A top-down 32-bit DIB section of the picture, its alpha laid over the window's colour (the pictures
// are drawn with a plain blit).
HBITMAP bitmapOf(const preview::Picture& picture) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) return bitmap;
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const int under[3] = {GetBValue(face), GetGValue(face), GetRValue(face)};
  auto* out = static_cast<std::uint8_t*>(bits);
  const std::size_t pixels = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
  for (std::size_t k = 0; k < pixels; ++k) {
    const std::uint8_t* in = &picture.rgba[k * 4];
    const int alpha = in[3];
    const int bgr[3] = {in[2], in[1], in[0]};
    for (int c = 0; c < 3; ++c) out[k * 4 + c] = static_cast<std::uint8_t>((bgr[c] * alpha + under[c] * (255 - alpha)) / 255);
    out[k * 4 + 3] = 255;
  }
  GdiFlush();
  return bitmap;
}

}  // namespace

PreviewPane::PreviewPane(Window& owner, sys::FileSystem& fs, const Box& box) : owner_(owner), presenter_(fs, *this) {
  HWND parent = owner.hwnd();
  constexpr int kFactsHeight = 44, kWarningsHeight = 40, kPlayHeight = 24;
  createGroupBox(parent, preview::texts::kPaneGroup, box, Group);
  const int inside = box.width - 16;
  const int pictureHeight = box.height - 18 - kFactsHeight - kWarningsHeight - kPlayHeight - 12;
  picture_ = createControl(parent, L"STATIC", "", SS_NOTIFY, {box.x + 8, box.y + 18, inside, pictureHeight}, Picture);
  SetWindowSubclass(picture_, &PreviewPane::pictureProcedure, kPictureWatchId, reinterpret_cast<DWORD_PTR>(this));
  int y = box.y + 18 + pictureHeight + 2;
  createLabel(parent, "", {box.x + 8, y, inside, kFactsHeight}, Facts);
  y += kFactsHeight;
  createLabel(parent, "", {box.x + 8, y, inside, kWarningsHeight}, Warnings);
  y += kWarningsHeight + 2;
  HWND play = createButton(parent, preview::texts::kPlay, {box.x + 8, y, 110, kPlayHeight}, Play);
  ShowWindow(play, SW_HIDE);
  owner.onCommand(Play, [this](int code) {
    if (code == BN_CLICKED) presenter_.PlayClick();
  });
}

PreviewPane::~PreviewPane() {
  PlaySoundW(nullptr, nullptr, 0);
  if (picture_) {
    KillTimer(picture_, kFrameTimer);
    KillTimer(picture_, kSoundTimer);
    RemoveWindowSubclass(picture_, &PreviewPane::pictureProcedure, kPictureWatchId);
  }
  dropBitmaps();
}

void PreviewPane::dropBitmaps() {
  for (HBITMAP bitmap : bitmaps_) {
    if (bitmap) DeleteObject(bitmap);
  }
  bitmaps_.clear();
  sizes_.clear();
}

void PreviewPane::showPictures(std::span<const preview::Picture> pictures) {
  dropBitmaps();
  for (const preview::Picture& picture : pictures) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.rgba.size() < static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 4) {
      continue;
    }
    if (HBITMAP bitmap = bitmapOf(picture)) {
      bitmaps_.push_back(bitmap);
      sizes_.emplace_back(picture.width, picture.height);
    }
  }
  InvalidateRect(picture_, nullptr, TRUE);
}

void PreviewPane::paint(HWND window) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(window, &ps);
  RECT area{};
  GetClientRect(window, &area);
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  const auto placed = preview::layoutPictures(sizes_, area.right, area.bottom);
  HDC memory = CreateCompatibleDC(dc);
  for (std::size_t k = 0; k < placed.size() && k < bitmaps_.size(); ++k) {
    HGDIOBJ old = SelectObject(memory, bitmaps_[k]);
    // Made larger, a game picture's pixels stay sharp; made smaller, they are averaged.
    SetStretchBltMode(dc, placed[k].width < sizes_[k].first ? HALFTONE : COLORONCOLOR);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, placed[k].x, placed[k].y, placed[k].width, placed[k].height, memory, 0, 0, sizes_[k].first,
               sizes_[k].second, SRCCOPY);
    SelectObject(memory, old);
  }
  DeleteDC(memory);
  EndPaint(window, &ps);
}

void PreviewPane::showFacts(const std::vector<std::string>& lines) {
  setWindowText(control(Facts), joined(lines));
  fitTexts();
}
void PreviewPane::showWarnings(const std::vector<std::string>& lines) {
  setWindowText(control(Warnings), joined(lines));
  fitTexts();
}

namespace {

RECT placeIn(HWND parent, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The height of a label's text wrapped to width, in its own font.
int wrappedHeight(HWND label, int width) {
  const int length = GetWindowTextLengthW(label);
  if (length == 0) return 0;
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(label, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  HDC dc = GetDC(label);
  HGDIOBJ before = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  RECT rect{0, 0, width, 0};
  DrawTextW(dc, text.c_str(), length, &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
  SelectObject(dc, before);
  ReleaseDC(label, dc);
  return rect.bottom - rect.top + 2;
}

}  // namespace

void PreviewPane::fitTexts() {
  HWND parent = owner_.hwnd();
  HWND facts = control(Facts), warnings = control(Warnings);
  const RECT picture = placeIn(parent, picture_);
  const RECT play = placeIn(parent, control(Play));
  const int width = picture.right - picture.left;
  const int room = play.top - 2 - picture.top;
  // The picture keeps at least a third of the room; texts longer than the rest are cut.
  const int textRoom = room - room / 3;
  const int factsHeight = std::min(wrappedHeight(facts, width), textRoom);
  const int warningsHeight = std::min(wrappedHeight(warnings, width), textRoom - factsHeight);
  const int pictureHeight = room - factsHeight - warningsHeight - 2;
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  SetWindowPos(picture_, nullptr, picture.left, picture.top, width, pictureHeight, flags);
  SetWindowPos(facts, nullptr, picture.left, picture.top + pictureHeight + 2, width, factsHeight, flags);
  SetWindowPos(warnings, nullptr, picture.left, picture.top + pictureHeight + 2 + factsHeight, width, warningsHeight,
               flags);
  InvalidateRect(picture_, nullptr, TRUE);
}
void PreviewPane::setPlayVisible(bool visible) { ShowWindow(control(Play), visible ? SW_SHOWNA : SW_HIDE); }
void PreviewPane::setPlayCaption(const std::string& caption) { setWindowText(control(Play), caption); }
void PreviewPane::startFrameTimer(int intervalMs) { SetTimer(picture_, kFrameTimer, static_cast<UINT>(intervalMs), nullptr); }
void PreviewPane::stopFrameTimer() { KillTimer(picture_, kFrameTimer); }

void PreviewPane::playSound(const std::string& path, std::uint32_t lengthMs) {
  KillTimer(picture_, kSoundTimer);
  if (!PlaySoundW(wide(path).c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT)) {
    presenter_.SoundEnded();  // no sound device, or a sound the system cannot play
    return;
  }
  // PlaySound tells nobody when it is done: the sound's length does.
  if (lengthMs > 0) SetTimer(picture_, kSoundTimer, lengthMs + 100, nullptr);
}

void PreviewPane::stopSound() {
  KillTimer(picture_, kSoundTimer);
  PlaySoundW(nullptr, nullptr, 0);
}

LRESULT CALLBACK PreviewPane::pictureProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR data) {
  auto* pane = reinterpret_cast<PreviewPane*>(data);
  switch (message) {
    case WM_PAINT:
      pane->paint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_TIMER:
      if (wParam == kFrameTimer) {
        pane->presenter_.FrameTimer();
      } else if (wParam == kSoundTimer) {
        KillTimer(window, kSoundTimer);
        pane->presenter_.SoundEnded();
      }
      return 0;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace winui
