#pragma once

#include <windows.h>

#include <vector>

#include "preview/preview_pane_presenter.h"
#include "win32/controls.h"
#include "win32/window.h"

namespace winui {

// The preview pane on Windows (preview::PreviewPanePresenter does what it does): a group "Просмотр" of
// controls inside a window of the program, the pictures drawn from DIB sections, a sprite's frames on a
// timer, a sound through PlaySound.
class PreviewPane final : private preview::PaneView {
 public:
  // Ids of its controls, free in every window that holds a pane.
  enum Id : int { Group = 601, Picture, Facts, Warnings, Play };

  // The controls go into owner at box (96-dpi pixels); the play button's command comes to owner.
  PreviewPane(Window& owner, sys::FileSystem& fs, const Box& box);
  ~PreviewPane() override;
  PreviewPane(const PreviewPane&) = delete;
  PreviewPane& operator=(const PreviewPane&) = delete;

  preview::PreviewPanePresenter& presenter() { return presenter_; }
  HWND control(Id id) const { return GetDlgItem(owner_.hwnd(), id); }
  // The pictures shown now, each as its DIB section (tests read their pixels).
  const std::vector<HBITMAP>& bitmaps() const { return bitmaps_; }

 private:
  void showPictures(std::span<const preview::Picture> pictures) override;
  void showFacts(const std::vector<std::string>& lines) override;
  void showWarnings(const std::vector<std::string>& lines) override;
  void setPlayVisible(bool visible) override;
  void setPlayCaption(const std::string& caption) override;
  void startFrameTimer(int intervalMs) override;
  void stopFrameTimer() override;
  void playSound(const std::string& path, std::uint32_t lengthMs) override;
  void stopSound() override;

  void dropBitmaps();
  // The facts and the warnings get the lines their texts wrap to in the pane's width; the picture the rest.
  void fitTexts();
  void paint(HWND window);
  static LRESULT CALLBACK pictureProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR data);

  Window& owner_;
  HWND picture_ = nullptr;
  std::vector<HBITMAP> bitmaps_;
  std::vector<std::pair<int, int>> sizes_;
  preview::PreviewPanePresenter presenter_;
};

}  // namespace winui
