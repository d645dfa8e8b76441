#include "preview/ui/PreviewPane.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "preview/pane_texts.h"

namespace preview::ui {

namespace {

QString q(const std::string& utf8) { return QString::fromStdString(utf8); }

QString joined(const std::vector<std::string>& lines) {
  QStringList out;
  for (const auto& line : lines) out << q(line);
  return out.join('\n');
}

// A game path may break after any of its separators when the pane is narrow (a zero-width space there).
QString breakable(QString text) {
  return text.replace('\\', QStringLiteral("\\\u200B")).replace('/', QStringLiteral("/\u200B"));
}

}  // namespace

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
  setObjectName("PreviewPicture");
  setMinimumSize(120, 120);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PictureView::setPictures(std::span<const Picture> pictures) {
  images_.clear();
  for (const Picture& picture : pictures) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.rgba.size() < static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 4) {
      continue;
    }
    // A copy: the presenter's buffer changes with the next file.
    images_.push_back(QImage(picture.rgba.data(), picture.width, picture.height, picture.width * 4,
                             QImage::Format_RGBA8888)
                          .copy());
  }
  update();
}

void PictureView::paintEvent(QPaintEvent*) {
  if (images_.empty()) return;
  std::vector<std::pair<int, int>> sizes;
  for (const QImage& image : images_) sizes.emplace_back(image.width(), image.height());
  const auto placed = layoutPictures(sizes, width(), height());
  QPainter painter(this);
  for (std::size_t k = 0; k < placed.size(); ++k) {
    // Game pictures are small: made larger, their pixels stay sharp; made smaller, they are smoothed.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, placed[k].width < images_[k].width());
    painter.drawImage(QRect(placed[k].x, placed[k].y, placed[k].width, placed[k].height), images_[k]);
  }
}

PreviewPane::PreviewPane(sys::FileSystem& fs, QWidget* parent)
    : QGroupBox(QString::fromUtf8(texts::kPaneGroup), parent), presenter_(fs, *this) {
  setObjectName("PreviewPane");
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(4, 4, 4, 4);
  // The controls inside a plain widget: an empty label right in a group box would read as the group's title.
  auto* contents = new QWidget(this);
  contents->setObjectName("PreviewContents");
  outer->addWidget(contents);
  auto* layout = new QVBoxLayout(contents);
  layout->setContentsMargins(0, 0, 0, 0);
  picture_ = new PictureView(contents);
  layout->addWidget(picture_, 1);
  facts_ = new QLabel(contents);
  facts_->setObjectName("PreviewFacts");
  facts_->setWordWrap(true);
  facts_->setTextFormat(Qt::PlainText);
  layout->addWidget(facts_);
  warnings_ = new QLabel(contents);
  warnings_->setObjectName("PreviewWarnings");
  warnings_->setWordWrap(true);
  warnings_->setTextFormat(Qt::PlainText);
  warnings_->setStyleSheet("color: #a00000");
  layout->addWidget(warnings_);
  play_ = new QPushButton(QString::fromUtf8(texts::kPlay), contents);
  play_->setObjectName("PlayButton");
  play_->setAccessibleName(play_->text());
  play_->setVisible(false);
  layout->addWidget(play_, 0, Qt::AlignLeft);
  connect(play_, &QPushButton::clicked, this, [this] { presenter_.PlayClick(); });
  frames_ = new QTimer(this);
  connect(frames_, &QTimer::timeout, this, [this] { presenter_.FrameTimer(); });
}

PreviewPane::~PreviewPane() {
  if (sound_) sound_->stop();
}

void PreviewPane::showPictures(std::span<const Picture> pictures) { picture_->setPictures(pictures); }
void PreviewPane::showFacts(const std::vector<std::string>& lines) { facts_->setText(breakable(joined(lines))); }
void PreviewPane::showWarnings(const std::vector<std::string>& lines) {
  warnings_->setText(joined(lines));
  warnings_->setVisible(!lines.empty());
}
void PreviewPane::setPlayVisible(bool visible) { play_->setVisible(visible); }
void PreviewPane::setPlayCaption(const std::string& caption) {
  play_->setText(q(caption));
  play_->setAccessibleName(q(caption));
}
void PreviewPane::startFrameTimer(int intervalMs) { frames_->start(intervalMs); }
void PreviewPane::stopFrameTimer() { frames_->stop(); }

void PreviewPane::playSound(const std::string& path, std::uint32_t) {
  if (!sound_) {
    sound_ = new QSoundEffect(this);
    connect(sound_, &QSoundEffect::playingChanged, this, &PreviewPane::soundStateChanged);
    connect(sound_, &QSoundEffect::statusChanged, this, &PreviewPane::soundStateChanged);
  }
  soundStarted_ = true;
  soundHeard_ = false;
  sound_->setSource(QUrl::fromLocalFile(q(path)));
  sound_->play();
}

void PreviewPane::stopSound() {
  soundStarted_ = false;
  if (sound_) sound_->stop();
}

// Over by itself, or never begun (a sound the system cannot play).
void PreviewPane::soundStateChanged() {
  if (!soundStarted_) return;
  if (sound_->isPlaying()) {
    soundHeard_ = true;
    return;
  }
  if (sound_->status() == QSoundEffect::Error || soundHeard_) {
    soundStarted_ = false;
    presenter_.SoundEnded();
  }
}

}  // namespace preview::ui
