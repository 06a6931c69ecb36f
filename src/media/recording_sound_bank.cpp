#include "media/recording_sound_bank.h"

#include <utility>

namespace vesk::media {
namespace {

SoundRequest request(SoundRequest::Kind kind, int channel, double value = 0) {
  SoundRequest r;
  r.kind = kind;
  r.channel = channel;
  r.value = value;
  return r;
}

}  // namespace

void RecordingSoundBank::record(SoundRequest r) {
  if (recording_) requests_.push_back(std::move(r));
}

void RecordingSoundBank::bind_wave(int channel, std::shared_ptr<const Wave> wave) {
  SoundRequest bind = request(SoundRequest::Kind::Bind, channel);
  if (wave) bind.wave = wave->fileName;
  record(std::move(bind));
  inner_.bind_wave(channel, std::move(wave));
}

void RecordingSoundBank::play_once(int channel) {
  record(request(SoundRequest::Kind::PlayOnce, channel));
  inner_.play_once(channel);
}

void RecordingSoundBank::play_loop(int channel) {
  record(request(SoundRequest::Kind::PlayLoop, channel));
  inner_.play_loop(channel);
}

void RecordingSoundBank::stop(int channel) {
  record(request(SoundRequest::Kind::Stop, channel));
  inner_.stop(channel);
}

void RecordingSoundBank::set_volume(int channel, int hundredthsOfDb) {
  record(request(SoundRequest::Kind::Volume, channel, hundredthsOfDb));
  inner_.set_volume(channel, hundredthsOfDb);
}

void RecordingSoundBank::set_rate(int channel, double rate) {
  record(request(SoundRequest::Kind::Rate, channel, rate));
  inner_.set_rate(channel, rate);
}

const char* soundRequestName(SoundRequest::Kind kind) {
  switch (kind) {
  case SoundRequest::Kind::Bind:
    return "bind";
  case SoundRequest::Kind::PlayOnce:
    return "play_once";
  case SoundRequest::Kind::PlayLoop:
    return "play_loop";
  case SoundRequest::Kind::Stop:
    return "stop";
  case SoundRequest::Kind::Volume:
    return "set_volume";
  case SoundRequest::Kind::Rate:
    return "set_rate";
  }
  return "?";
}

}  // namespace vesk::media
