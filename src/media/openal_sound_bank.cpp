#include "media/openal_sound_bank.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <optional>
#include <span>
#include <vector>

namespace vesk::media {
namespace {

// The samples of a wave as OpenAL takes them: 16-bit mono or stereo. Waves of more channels are mixed down to
// mono; a wave without a rate, channels or frames has none.
struct AlSamples {
  ALenum format = AL_FORMAT_MONO16;
  std::span<const std::int16_t> samples;
  std::vector<std::int16_t> mixed;  // holds the samples when they had to be mixed down
};

std::optional<AlSamples> samplesForOpenAl(const Wave& wave) {
  if (wave.sampleRate <= 0 || wave.channels <= 0 || wave.frames <= 0) return std::nullopt;
  const auto channels = static_cast<std::size_t>(wave.channels);
  // A wave whose sample vector is shorter than its frame count says plays what it holds.
  const std::size_t frames = std::min(static_cast<std::size_t>(wave.frames), wave.samples.size() / channels);
  const std::size_t outChannels = channels == 2 ? 2 : 1;
  if (frames == 0 || frames > INT_MAX / sizeof(std::int16_t) / outChannels) return std::nullopt;

  AlSamples out;
  if (channels <= 2) {
    out.format = channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
    out.samples = std::span(wave.samples.data(), frames * channels);
    return out;
  }
  out.mixed.resize(frames);
  for (std::size_t f = 0; f < frames; ++f) {
    std::int64_t sum = 0;
    for (std::size_t c = 0; c < channels; ++c) sum += wave.samples[f * channels + c];
    out.mixed[f] = static_cast<std::int16_t>(sum / static_cast<std::int64_t>(channels));
  }
  out.samples = out.mixed;
  return out;
}

OpenAlChannelState::Play playState(ALint state) {
  switch (state) {
  case AL_PLAYING:
    return OpenAlChannelState::Play::Playing;
  case AL_PAUSED:
    return OpenAlChannelState::Play::Paused;
  case AL_STOPPED:
    return OpenAlChannelState::Play::Stopped;
  default:
    return OpenAlChannelState::Play::Initial;
  }
}

ALint sourceState(ALuint source) {
  ALint state = AL_INITIAL;
  alGetSourcei(source, AL_SOURCE_STATE, &state);
  return state;
}

}  // namespace

struct OpenAlSoundBank::Device {
  ALCdevice* device = nullptr;
  ALCcontext* context = nullptr;
  bool canTellDisconnect = false;
  // Each thread that calls the bank makes its context current for itself, so that another OpenAL user in the
  // process (or a second bank) cannot take it away.
  PFNALCSETTHREADCONTEXTPROC setThreadContext = nullptr;
  PFNALCGETTHREADCONTEXTPROC getThreadContext = nullptr;

  ~Device() {
    if (context != nullptr) {
      releaseFromThisThread();
      if (alcGetCurrentContext() == context) alcMakeContextCurrent(nullptr);
      alcDestroyContext(context);
    }
    if (device != nullptr) alcCloseDevice(device);
  }

  bool connected() const {
    if (!canTellDisconnect) return true;
    ALCint connected = ALC_TRUE;
    alcGetIntegerv(device, ALC_CONNECTED, 1, &connected);
    return connected != ALC_FALSE;
  }

  // A thread that ends holding the context as its own would keep it alive past the bank.
  void releaseFromThisThread() const {
    if (setThreadContext != nullptr && getThreadContext() == context) setThreadContext(nullptr);
  }

  void makeCurrent() const {
    if (setThreadContext != nullptr) {
      if (getThreadContext() != context) setThreadContext(context);
    } else if (alcGetCurrentContext() != context) {
      alcMakeContextCurrent(context);
    }
  }
};

OpenAlSoundBank::OpenAlSoundBank() : OpenAlSoundBank(Options{}) {}

OpenAlSoundBank::OpenAlSoundBank(Options options) : report_(std::move(options.report)) {
  open(options.deviceName);
  if (device_) createSources();
}

OpenAlSoundBank::~OpenAlSoundBank() {
  if (!device_) return;
  device_->makeCurrent();
  for (Channel& c : channels_) {
    if (c.source == 0) continue;
    alSourceStop(c.source);
    alSourcei(c.source, AL_BUFFER, 0);
    alDeleteSources(1, &c.source);
  }
  for (auto& [wave, shared] : buffers_) alDeleteBuffers(1, &shared.id);
  alGetError();
}

void OpenAlSoundBank::say(const std::string& message) const {
  if (report_) {
    report_(message);
  } else {
    std::cerr << "vesk: " << message << '\n';
  }
}

void OpenAlSoundBank::open(const std::string& deviceName) {
  const std::string shownName = deviceName.empty() ? std::string("the default sound device") : '"' + deviceName + '"';
  auto device = std::make_unique<Device>();
  device->device = alcOpenDevice(deviceName.empty() ? nullptr : deviceName.c_str());
  if (device->device == nullptr) {
    say("could not open " + shownName + "; the drive goes on without sound");
    return;
  }
  const ALCint attributes[] = {ALC_MONO_SOURCES, kChannelCount, 0};
  device->context = alcCreateContext(device->device, attributes);
  if (device->context == nullptr) {
    say("could not start sound on " + shownName + "; the drive goes on without sound");
    return;
  }
  device->canTellDisconnect = alcIsExtensionPresent(device->device, "ALC_EXT_disconnect") != ALC_FALSE;
  if (alcIsExtensionPresent(device->device, "ALC_EXT_thread_local_context") != ALC_FALSE) {
    device->setThreadContext =
        reinterpret_cast<PFNALCSETTHREADCONTEXTPROC>(alcGetProcAddress(device->device, "alcSetThreadContext"));
    device->getThreadContext =
        reinterpret_cast<PFNALCGETTHREADCONTEXTPROC>(alcGetProcAddress(device->device, "alcGetThreadContext"));
    if (device->setThreadContext == nullptr || device->getThreadContext == nullptr) {
      device->setThreadContext = nullptr;
      device->getThreadContext = nullptr;
    }
  }
  device_ = std::move(device);
}

void OpenAlSoundBank::createSources() {
  device_->makeCurrent();
  alGetError();
  // Sounds are not placed in space: each channel plays at the listener, as recorded, at any distance.
  alDistanceModel(AL_NONE);
  ALCint mono = 0;
  ALCint stereo = 0;
  alcGetIntegerv(device_->device, ALC_MONO_SOURCES, 1, &mono);
  alcGetIntegerv(device_->device, ALC_STEREO_SOURCES, 1, &stereo);
  const int offered = std::clamp(mono + stereo, 0, static_cast<int>(kChannelCount));
  for (int i = 0; i < offered; ++i) {
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) break;
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0, 0, 0);
    alSourcef(source, AL_ROLLOFF_FACTOR, 0);
    channels_[static_cast<std::size_t>(i)].source = source;
    sourceCount_ = i + 1;
  }
  alGetError();
  if (sourceCount_ < kChannelCount) {
    say("the sound device gives " + std::to_string(sourceCount_) + " of " + std::to_string(kChannelCount) +
        " channels; channels " + std::to_string(sourceCount_) + " and above stay silent");
  }
}

bool OpenAlSoundBank::working() const { return device_ && !disconnected_ && device_->connected(); }

bool OpenAlSoundBank::ready() const {
  if (!device_ || disconnected_) return false;
  if (!device_->connected()) {
    disconnected_ = true;
    say("the sound device was disconnected; the drive goes on without sound");
    return false;
  }
  device_->makeCurrent();
  return true;
}

OpenAlSoundBank::Channel* OpenAlSoundBank::playable(int channel) {
  if (channel < 0 || channel >= kChannelCount || !ready()) return nullptr;
  Channel& c = channels_[static_cast<std::size_t>(channel)];
  return c.source != 0 && c.buffer != 0 ? &c : nullptr;
}

const OpenAlSoundBank::Channel* OpenAlSoundBank::playable(int channel) const {
  return const_cast<OpenAlSoundBank*>(this)->playable(channel);
}

unsigned OpenAlSoundBank::acquireBuffer(const std::shared_ptr<const Wave>& wave) {
  if (auto found = buffers_.find(wave.get()); found != buffers_.end()) {
    ++found->second.users;
    return found->second.id;
  }
  const std::optional<AlSamples> data = samplesForOpenAl(*wave);
  if (!data) return 0;
  alGetError();
  ALuint id = 0;
  alGenBuffers(1, &id);
  if (alGetError() != AL_NO_ERROR) return 0;
  alBufferData(id, data->format, data->samples.data(), static_cast<ALsizei>(data->samples.size_bytes()),
               wave->sampleRate);
  if (alGetError() != AL_NO_ERROR) {
    alDeleteBuffers(1, &id);
    alGetError();
    return 0;
  }
  buffers_[wave.get()] = SharedBuffer{id, 1};
  return id;
}

void OpenAlSoundBank::releaseBuffer(Channel& channel) {
  if (channel.wave) {
    auto found = buffers_.find(channel.wave.get());
    if (found != buffers_.end() && --found->second.users == 0) {
      alDeleteBuffers(1, &found->second.id);
      buffers_.erase(found);
    }
  }
  channel.wave.reset();
  channel.buffer = 0;
  channel.bufferRate = 0;
}

void OpenAlSoundBank::bind_wave(int channel, std::shared_ptr<const Wave> wave) {
  if (channel < 0 || channel >= kChannelCount || !ready()) return;
  Channel& c = channels_[static_cast<std::size_t>(channel)];
  if (c.source == 0) return;
  // The previous wave goes, and with it everything set on the channel. The new wave's buffer is taken before the
  // old one is let go, so that binding the same wave again keeps its buffer.
  alSourceStop(c.source);
  alSourceRewind(c.source);
  alSourcei(c.source, AL_BUFFER, 0);
  const unsigned id = wave ? acquireBuffer(wave) : 0;
  releaseBuffer(c);
  c.startOnResume = false;
  alSourcef(c.source, AL_GAIN, 1.0F);
  alSourcef(c.source, AL_PITCH, 1.0F);
  alSourcei(c.source, AL_LOOPING, AL_FALSE);
  if (id != 0) {
    alSourcei(c.source, AL_BUFFER, static_cast<ALint>(id));
    c.wave = std::move(wave);
    c.buffer = id;
    c.bufferRate = c.wave->sampleRate;
  }
  alGetError();
}

void OpenAlSoundBank::start(int channel, bool loop) {
  Channel* c = playable(channel);
  if (c == nullptr) return;
  alSourcei(c->source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
  if (paused_) {
    // Started while the drive is paused: it starts from the beginning when the drive resumes.
    alSourceRewind(c->source);
    c->startOnResume = true;
  } else {
    // Playing a playing source starts it again from the beginning.
    alSourcePlay(c->source);
  }
  alGetError();
}

void OpenAlSoundBank::play_once(int channel) { start(channel, false); }

void OpenAlSoundBank::play_loop(int channel) { start(channel, true); }

void OpenAlSoundBank::stop(int channel) {
  Channel* c = playable(channel);
  if (c == nullptr) return;
  c->startOnResume = false;
  alSourceStop(c->source);
  alGetError();
}

bool OpenAlSoundBank::is_playing(int channel) const {
  const Channel* c = playable(channel);
  if (c == nullptr) return false;
  if (c->startOnResume) return true;
  const ALint state = sourceState(c->source);
  return state == AL_PLAYING || (paused_ && state == AL_PAUSED);
}

SoundBank::ChannelStatus OpenAlSoundBank::channel_status(int channel) const {
  const Channel* c = playable(channel);
  if (c == nullptr) return {};
  // The volume back from the source's gain (the gain is 10^(volume / 2000)).
  ALfloat gain = 0;
  alGetSourcef(c->source, AL_GAIN, &gain);
  alGetError();
  const int volume = gain > 0 ? static_cast<int>(std::lround(2000.0 * std::log10(gain))) : kSilent;
  return {true, is_playing(channel), std::max(volume, kSilent)};
}

void OpenAlSoundBank::set_volume(int channel, int hundredthsOfDb) {
  Channel* c = playable(channel);
  if (c == nullptr) return;
  // Full volume is the recorded level: OpenAL clamps gains above 1 anyway, and the data never asks for more.
  const double gain = std::min(1.0, volumeToGain(hundredthsOfDb));
  alSourcef(c->source, AL_GAIN, static_cast<ALfloat>(gain));
  alGetError();
}

void OpenAlSoundBank::set_rate(int channel, double rate) {
  Channel* c = playable(channel);
  if (c == nullptr) return;
  const double pitch = static_cast<double>(playbackRateHz(c->bufferRate, rate)) / c->bufferRate;
  alSourcef(c->source, AL_PITCH, static_cast<ALfloat>(pitch));
  alGetError();
}

void OpenAlSoundBank::pause_all() {
  if (paused_ || !ready()) return;
  std::vector<ALuint> playing;
  for (const Channel& c : channels_) {
    if (c.buffer != 0 && sourceState(c.source) == AL_PLAYING) playing.push_back(c.source);
  }
  if (!playing.empty()) alSourcePausev(static_cast<ALsizei>(playing.size()), playing.data());
  alGetError();
  paused_ = true;
}

void OpenAlSoundBank::resume_all() {
  if (!paused_) return;
  paused_ = false;
  if (!ready()) return;
  // Paused channels go on from where they were, looped ones looped; those started while paused start now.
  std::vector<ALuint> resumed;
  for (Channel& c : channels_) {
    if (c.buffer == 0) continue;
    if (c.startOnResume || sourceState(c.source) == AL_PAUSED) resumed.push_back(c.source);
    c.startOnResume = false;
  }
  if (!resumed.empty()) alSourcePlayv(static_cast<ALsizei>(resumed.size()), resumed.data());
  alGetError();
}

void OpenAlSoundBank::leave_thread() {
  if (device_) device_->releaseFromThisThread();
}

OpenAlChannelState OpenAlSoundBank::channelState(int channel) const {
  OpenAlChannelState state;
  if (channel < 0 || channel >= kChannelCount || !ready()) return state;
  const Channel& c = channels_[static_cast<std::size_t>(channel)];
  state.source = c.source;
  if (c.source == 0) return state;
  ALint buffer = 0;
  ALint looping = AL_FALSE;
  alGetSourcei(c.source, AL_BUFFER, &buffer);
  alGetSourcei(c.source, AL_LOOPING, &looping);
  alGetSourcef(c.source, AL_GAIN, &state.gain);
  alGetSourcef(c.source, AL_PITCH, &state.pitch);
  state.buffer = static_cast<unsigned>(buffer);
  state.looping = looping != AL_FALSE;
  state.play = playState(sourceState(c.source));
  alGetError();
  return state;
}

}  // namespace vesk::media
