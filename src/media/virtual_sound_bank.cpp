#include "media/virtual_sound_bank.h"

#include <cmath>

namespace vesk::media {

VirtualSoundBank::VirtualSoundBank(std::function<std::int64_t()> nowMs) : nowMs_(std::move(nowMs)) {}

VirtualSoundBank::Channel* VirtualSoundBank::usable(int channel) {
  if (channel < 0 || channel >= kChannelCount) return nullptr;
  Channel& c = channels_[static_cast<std::size_t>(channel)];
  return c.wave && !c.wave->empty() ? &c : nullptr;
}

const VirtualSoundBank::Channel* VirtualSoundBank::usable(int channel) const {
  return const_cast<VirtualSoundBank*>(this)->usable(channel);
}

double VirtualSoundBank::positionAt(const Channel& c, std::int64_t nowMs) const {
  return c.anchorFrame + static_cast<double>(nowMs - c.anchorMs) * c.rateHz / 1000.0;
}

std::int64_t VirtualSoundBank::clockMs() const { return pausedAtMs_.value_or(nowMs_()); }

void VirtualSoundBank::record(SoundOperation::Kind kind, int channel, double value) {
  if (!recording_) return;
  operations_.push_back({nowMs_(), kind, channel, value});
}

void VirtualSoundBank::bind_wave(int channel, std::shared_ptr<const Wave> wave) {
  if (channel < 0 || channel >= kChannelCount) return;
  record(SoundOperation::Kind::Bind, channel, wave && !wave->empty() ? 1 : 0);
  Channel& c = channels_[static_cast<std::size_t>(channel)];
  c = Channel{};
  c.wave = std::move(wave);
  if (c.wave) c.rateHz = c.wave->sampleRate;
}

void VirtualSoundBank::start(int channel, bool loop) {
  Channel* c = usable(channel);
  if (c == nullptr) return;
  record(loop ? SoundOperation::Kind::PlayLoop : SoundOperation::Kind::PlayOnce, channel, 0);
  c->playing = true;
  c->looping = loop;
  c->anchorMs = clockMs();
  c->anchorFrame = 0;
}

void VirtualSoundBank::play_once(int channel) { start(channel, false); }

void VirtualSoundBank::play_loop(int channel) { start(channel, true); }

void VirtualSoundBank::stop(int channel) {
  Channel* c = usable(channel);
  if (c == nullptr) return;
  record(SoundOperation::Kind::Stop, channel, 0);
  c->playing = false;
}

bool VirtualSoundBank::is_playing(int channel) const {
  const Channel* c = usable(channel);
  if (c == nullptr || !c->playing) return false;
  if (c->looping) return true;
  return positionAt(*c, clockMs()) < static_cast<double>(c->wave->frames);
}

void VirtualSoundBank::pause_all() {
  if (pausedAtMs_) return;
  pausedAtMs_ = nowMs_();
  record(SoundOperation::Kind::Pause, -1, 0);
}

void VirtualSoundBank::resume_all() {
  if (!pausedAtMs_) return;
  // The time spent paused did not play: every channel's position moves on from where it stopped.
  const std::int64_t pausedFor = nowMs_() - *pausedAtMs_;
  for (Channel& c : channels_) c.anchorMs += pausedFor;
  pausedAtMs_.reset();
  record(SoundOperation::Kind::Resume, -1, 0);
}

void VirtualSoundBank::set_volume(int channel, int hundredthsOfDb) {
  Channel* c = usable(channel);
  if (c == nullptr) return;
  record(SoundOperation::Kind::Volume, channel, hundredthsOfDb);
  c->volume = hundredthsOfDb;
}

void VirtualSoundBank::set_rate(int channel, double rate) {
  Channel* c = usable(channel);
  if (c == nullptr) return;
  record(SoundOperation::Kind::Rate, channel, rate);
  // Keep the playback position continuous across the change of speed.
  const std::int64_t now = clockMs();
  c->anchorFrame = positionAt(*c, now);
  c->anchorMs = now;
  c->rateHz = playbackRateHz(c->wave->sampleRate, rate);
}

SoundBank::ChannelStatus VirtualSoundBank::channel_status(int channel) const {
  const Channel* c = usable(channel);
  if (c == nullptr) return {};
  return {true, is_playing(channel), c->volume};
}

int VirtualSoundBank::volume(int channel) const {
  const Channel* c = usable(channel);
  return c ? c->volume : 0;
}

int VirtualSoundBank::rateHz(int channel) const {
  const Channel* c = usable(channel);
  return c ? c->rateHz : 0;
}

bool VirtualSoundBank::looping(int channel) const {
  const Channel* c = usable(channel);
  return c && c->playing && c->looping;
}

const std::shared_ptr<const Wave>& VirtualSoundBank::wave(int channel) const {
  static const std::shared_ptr<const Wave> none;
  if (channel < 0 || channel >= kChannelCount) return none;
  return channels_[static_cast<std::size_t>(channel)].wave;
}

}  // namespace vesk::media
