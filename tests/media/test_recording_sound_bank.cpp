#include <gtest/gtest.h>

#include "media/recording_sound_bank.h"
#include "media/virtual_sound_bank.h"
#include "support/media_files.h"

namespace vesk::media {
namespace {

std::string describe(const SoundRequest& r) {
  std::string text = std::string(soundRequestName(r.kind)) + " " + std::to_string(r.channel);
  if (r.kind == SoundRequest::Kind::Bind) text += " " + r.wave.value_or("null");
  if (r.kind == SoundRequest::Kind::Volume || r.kind == SoundRequest::Kind::Rate) {
    text += " " + std::to_string(r.value);
  }
  return text;
}

TEST(RecordingSoundBank, ListsEveryRequestInOrderAndPassesThemOn) {
  std::int64_t now = 0;
  VirtualSoundBank inner([&] { return now; });
  RecordingSoundBank bank(inner);
  auto wave = std::const_pointer_cast<Wave>(decodeWave(test::wave(22050, 22050)));
  wave->fileName = "sound/run0.wav";
  bank.bind_wave(0, wave);
  bank.play_loop(0);
  bank.set_volume(0, -602);
  bank.set_rate(0, 1.5);
  // Channel 7 holds no wave: its requests are listed all the same, and do nothing.
  bank.play_once(7);
  bank.set_volume(7, -10000);
  bank.stop(7);
  bank.bind_wave(0, nullptr);
  std::vector<std::string> listed;
  for (const SoundRequest& r : bank.requests()) listed.push_back(describe(r));
  EXPECT_EQ(listed, (std::vector<std::string>{"bind 0 sound/run0.wav", "play_loop 0", "set_volume 0 -602.000000",
                                              "set_rate 0 1.500000", "play_once 7", "set_volume 7 -10000.000000",
                                              "stop 7", "bind 0 null"}));
  // The inner bank carried out what it could.
  EXPECT_EQ(inner.operations().size(), 5u);
  EXPECT_FALSE(bank.is_playing(0));
  bank.clearRequests();
  EXPECT_TRUE(bank.requests().empty());
}

TEST(RecordingSoundBank, AnswersFromTheInnerBankAndCanStopListing) {
  std::int64_t now = 0;
  VirtualSoundBank inner([&] { return now; });
  RecordingSoundBank bank(inner);
  bank.setRecording(false);
  bank.bind_wave(3, decodeWave(test::wave(22050, 22050)));
  bank.play_once(3);
  EXPECT_TRUE(bank.requests().empty());
  now = 500;
  EXPECT_TRUE(bank.is_playing(3));
  bank.pause_all();
  EXPECT_TRUE(inner.paused());
  bank.resume_all();
  now = 1000;
  EXPECT_FALSE(bank.is_playing(3));
}

TEST(WaveNames, AWaveKeepsTheNameItWasLoadedUnder) {
  const auto missing = loadWave("/no/such/dir/horn.wav");
  EXPECT_TRUE(missing->empty());
  EXPECT_EQ(missing->fileName, "horn.wav");
  EXPECT_EQ(loadWave("/no/such/dir/horn.wav", "sound/horn.wav")->fileName, "sound/horn.wav");
}

}  // namespace
}  // namespace vesk::media
