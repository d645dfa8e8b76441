#pragma once

#include <QGroupBox>
#include <QImage>
#include <QWidget>

#include <vector>

#include "preview/preview_pane_presenter.h"

class QLabel;
class QPushButton;
class QSoundEffect;
class QTimer;

namespace preview::ui {

// The pictures of the pane, laid out by preview::layoutPictures over the whole widget.
class PictureView final : public QWidget {
  Q_OBJECT

 public:
  explicit PictureView(QWidget* parent);
  void setPictures(std::span<const Picture> pictures);
  const std::vector<QImage>& images() const { return images_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<QImage> images_;
};

// The preview pane (preview::PreviewPanePresenter does what it does): the pictures, the facts, the
// warnings and the play button of the selected file, the frames of a sprite on a timer and its sound
// through Qt Multimedia.
class PreviewPane final : public QGroupBox, private PaneView {
  Q_OBJECT

 public:
  PreviewPane(sys::FileSystem& fs, QWidget* parent);
  ~PreviewPane() override;
  PreviewPanePresenter& presenter() { return presenter_; }

 private:
  void showPictures(std::span<const Picture> pictures) override;
  void showFacts(const std::vector<std::string>& lines) override;
  void showWarnings(const std::vector<std::string>& lines) override;
  void setPlayVisible(bool visible) override;
  void setPlayCaption(const std::string& caption) override;
  void startFrameTimer(int intervalMs) override;
  void stopFrameTimer() override;
  void playSound(const std::string& path, std::uint32_t lengthMs) override;
  void stopSound() override;
  void soundStateChanged();

  PictureView* picture_ = nullptr;
  QLabel* facts_ = nullptr;
  QLabel* warnings_ = nullptr;
  QPushButton* play_ = nullptr;
  QTimer* frames_ = nullptr;
  QSoundEffect* sound_ = nullptr;  // made at the first sound played
  bool soundStarted_ = false;  // asked to play and not stopped
  bool soundHeard_ = false;    // and playing began
  PreviewPanePresenter presenter_;
};

}  // namespace preview::ui
