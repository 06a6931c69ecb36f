#include "app/title_player.h"

#include <QLabel>
#include <QPixmap>

#include <algorithm>

#include "media/movie_sound.h"

namespace vesk::app {
namespace {

// The opening movie runs at the route videos' rate; its sound track plays beside the title's sounds.
constexpr int kPictureMs = 33;
constexpr int kPicturesPerSecond = 30;
constexpr int kSoundChannel = 0;
constexpr int kMovieSoundChannel = 1;

}  // namespace

TitlePlayer::TitlePlayer(QLabel* screen, const SoundBankFactory& makeBank) : screen_(screen) {
  clock_.start();
  bank_ = makeBank([this] { return static_cast<std::int64_t>(clock_.elapsed()); });
  pictureTimer_.setInterval(kPictureMs);
  pictureTimer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&pictureTimer_, &QTimer::timeout, [this] { showNextPicture(); });
}

TitlePlayer::~TitlePlayer() { stopAndClose(); }

bool TitlePlayer::playMovie(const std::filesystem::path& path) {
  closeMovie();
  movie_ = media::VideoSource::open(path);
  if (!movie_ || movie_->frameCount() <= 0) {
    movie_.reset();
    return false;
  }
  QImage first;
  if (!movie_->readFrame(0, first)) {
    movie_.reset();
    return false;
  }
  screen_->setPixmap(QPixmap::fromImage(first.scaled(screen_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
  nextPicture_ = 1;
  if (auto sound = media::decodeMovieSound(path)) {
    bank_->bind_wave(kMovieSoundChannel, std::move(sound));
    bank_->play_once(kMovieSoundChannel);
  }
  // The pictures follow the clock from here, so that they keep step with the sound on a slow machine too.
  movieClock_.start();
  pictureTimer_.start();
  return true;
}

void TitlePlayer::showNextPicture() {
  if (!movie_) return;
  nextPicture_ = std::max<std::int64_t>(nextPicture_, movieClock_.elapsed() * kPicturesPerSecond / 1000);
  if (nextPicture_ >= movie_->frameCount()) {
    closeMovie();
    if (movieEnded_) movieEnded_(false);
    return;
  }
  QImage picture;
  if (!movie_->readFrame(nextPicture_++, picture)) {
    closeMovie();
    if (movieEnded_) movieEnded_(true);
    return;
  }
  screen_->setPixmap(
      QPixmap::fromImage(picture.scaled(screen_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void TitlePlayer::playSound(const std::filesystem::path& path, const std::string& name) {
  bank_->bind_wave(kSoundChannel, media::loadWave(path, name));
  bank_->play_once(kSoundChannel);
}

bool TitlePlayer::soundPlaying() const { return bank_->is_playing(kSoundChannel); }

void TitlePlayer::closeMovie() {
  pictureTimer_.stop();
  movie_.reset();
  bank_->stop(kMovieSoundChannel);
  bank_->bind_wave(kMovieSoundChannel, nullptr);
}

void TitlePlayer::stopAndClose() {
  closeMovie();
  bank_->stop(kSoundChannel);
  bank_->bind_wave(kSoundChannel, nullptr);
}

}  // namespace vesk::app
