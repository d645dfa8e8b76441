#pragma once

#include <string>
#include <vector>

#include "preview/preview_pane_presenter.h"

namespace testing_support {

// A preview pane that records what its presenter tells it (pictures by their names).
struct RecordingPane : preview::PaneView {
  void showPictures(std::span<const preview::Picture> shown) override {
    pictures.clear();
    for (const auto& picture : shown) pictures.push_back(picture.name);
  }
  void showFacts(const std::vector<std::string>& lines) override { facts = lines; }
  void showWarnings(const std::vector<std::string>& lines) override { warnings = lines; }
  void setPlayVisible(bool visible) override { playVisible = visible; }
  void setPlayCaption(const std::string& text) override { caption = text; }
  void startFrameTimer(int ms) override { frameMs = ms; }
  void stopFrameTimer() override { frameMs = 0; }
  void playSound(const std::string& path, std::uint32_t ms) override { played.push_back(path + " " + std::to_string(ms)); }
  void stopSound() override { ++stops; }

  std::vector<std::string> pictures, facts, warnings, played;
  std::string caption;
  bool playVisible = true;
  int frameMs = -1, stops = 0;
};

}  // namespace testing_support
