// TitlePlayer: the title screen's media player. Plays the opening movie's pictures into the movie area at 30
// pictures a second with its sound track, and the title's sounds once each; stops and closes whatever plays. A movie
// that cannot be opened, or stops decoding part-way, is reported to the caller, which shows its message and goes on.
#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/sound_bank_factory.h"
#include "media/sound_bank.h"
#include "media/video_source.h"

class QLabel;

namespace vesk::app {

class TitlePlayer {
 public:
  // `screen` shows the movie; the bank plays the sounds (channel 0) and the movie's sound track (channel 1).
  TitlePlayer(QLabel* screen, const SoundBankFactory& makeBank);
  ~TitlePlayer();
  TitlePlayer(const TitlePlayer&) = delete;
  TitlePlayer& operator=(const TitlePlayer&) = delete;

  // Opens the movie and starts it; false when it cannot be opened or its first picture cannot be decoded.
  bool playMovie(const std::filesystem::path& path);
  // Called once when the movie has played to its end (failed: a picture could not be decoded on the way).
  void onMovieEnd(std::function<void(bool failed)> ended) { movieEnded_ = std::move(ended); }
  bool moviePlaying() const { return movie_ != nullptr; }

  // Plays a wave once; a file that cannot be read stays silent. `name` names it in the bank.
  void playSound(const std::filesystem::path& path, const std::string& name);
  bool soundPlaying() const;

  // Stops and closes the movie and the sound.
  void stopAndClose();

  media::SoundBank& bank() { return *bank_; }

 private:
  void showNextPicture();
  void closeMovie();

  QLabel* screen_;
  std::unique_ptr<media::SoundBank> bank_;
  QElapsedTimer clock_;
  std::unique_ptr<media::VideoSource> movie_;
  QElapsedTimer movieClock_;  // since the movie's first picture
  std::int64_t nextPicture_ = 0;
  QTimer pictureTimer_;
  std::function<void(bool)> movieEnded_;
};

}  // namespace vesk::app
