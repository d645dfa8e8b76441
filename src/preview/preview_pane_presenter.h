#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "preview/preview.h"
#include "sys/filesystem.h"

// The preview pane beside the install dialog's list and the file list's grid: the selected file's
// pictures, its facts, its warnings and a play button for a sound. What it does is here; each front-end
// draws what it is told.
namespace preview {

// The pane as its presenter sees it.
class PaneView {
 public:
  virtual ~PaneView() = default;
  // Pictures side by side, scaled to fit the pane (see layoutPictures); an empty span shows none.
  virtual void showPictures(std::span<const Picture> pictures) = 0;
  // The facts (and the damage line), one line each.
  virtual void showFacts(const std::vector<std::string>& lines) = 0;
  virtual void showWarnings(const std::vector<std::string>& lines) = 0;
  // The play button: shown for a sound only; its caption "Воспроизвести" or "Стоп".
  virtual void setPlayVisible(bool visible) = 0;
  virtual void setPlayCaption(const std::string& caption) = 0;
  // A sprite's frames: FrameTimer() every intervalMs until stopped.
  virtual void startFrameTimer(int intervalMs) = 0;
  virtual void stopFrameTimer() = 0;
  // Plays the sound file at path, lengthMs long as its reader says (0 when unknown); SoundEnded() when it
  // is over by itself.
  virtual void playSound(const std::string& path, std::uint32_t lengthMs) = 0;
  virtual void stopSound() = 0;
};

// The readers the pane uses; tests put their own in.
using Describer = std::function<Preview(const std::string& gamePath, std::string_view bytes, const Companion&)>;
using WarningsReader =
    std::function<std::vector<std::string>(const std::string& gamePath, std::string_view bytes, const Companion&)>;
struct Readers {
  Describer describe = preview::describe;
  WarningsReader warnings = preview::warnings;
};

// One file for the pane: where its bytes are, the path it has (or will have) in the game folder
// (relative, backslashes: see gamePathOf), and the folders, each with its trailing separator, where a
// companion file ("<name>T.mdl") is looked for, in order.
struct PaneFile {
  std::string file;
  std::string gamePath;
  std::vector<std::string> companionFolders;
};

// Files larger than this are not read: the pane shows their size only.
inline constexpr std::uintmax_t kMaxPreviewBytes = 32u << 20;

// A full path of the game folder as the readers want it: relative to gameFolder with backslashes
// ("models\\player\\gign\\gign.mdl"); a path outside it gives its bare name.
std::string gamePathOf(const std::string& fullPath, const std::string& gameFolder);

// Where each picture of the given sizes goes in an area: side by side in one row, or in as many rows as
// gives them the largest scale, all scaled alike (at most 4 times up, so a small sprite stays crisp
// without filling the pane), centred, gap pixels apart.
struct Placement {
  int x = 0, y = 0, width = 0, height = 0;
};
std::vector<Placement> layoutPictures(const std::vector<std::pair<int, int>>& sizes, int areaWidth, int areaHeight,
                                      int gap = 4);

class PreviewPanePresenter {
 public:
  PreviewPanePresenter(sys::FileSystem& fs, PaneView& view, Readers readers = {});
  PreviewPanePresenter(const PreviewPanePresenter&) = delete;
  PreviewPanePresenter& operator=(const PreviewPanePresenter&) = delete;

  void setReaders(Readers readers) { readers_ = std::move(readers); }

  // The selection changed: the sound and the frames stop, then the new file is read (only it, and only
  // when it is not larger than kMaxPreviewBytes) and shown. A file that cannot be read says so in one
  // line. Never throws.
  void show(const PaneFile& file);
  // No file selected: the pane is empty and silent.
  void clear();

  void PlayClick();   // plays the sound, or stops it when it plays
  void FrameTimer();  // the sprite's next frame
  void SoundEnded();  // the sound is over by itself

  // The warnings of every file, summed; each file is read once and its count kept while its size and
  // time stay the same. Never throws (a file that cannot be read gives none).
  std::size_t warningsCount(const std::vector<PaneFile>& files);

  const Preview& shown() const { return preview_; }
  bool playing() const { return playing_; }

 private:
  void stop();
  // The file's bytes, or nothing when it is larger than the limit. Throws sys::IoError.
  std::optional<std::string> readCapped(const std::string& path, std::uintmax_t size);
  Companion companionOf(const PaneFile& file);

  sys::FileSystem& fs_;
  PaneView& view_;
  Readers readers_;
  std::string file_;
  Preview preview_;
  std::size_t frame_ = 0;
  bool playing_ = false;
  struct Counted {
    sys::FileStamp stamp;
    std::size_t warnings = 0;
  };
  std::map<std::string, Counted> counted_;  // by gamePath and file
};

}  // namespace preview
