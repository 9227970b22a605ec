// The sound-output probe of ./run-benchmark (scripts/benchmark-run.sh):
// asks OpenAL, as the framework's start-up does, for the default output
// device and a context on it. Exit status 0 when both open, with the
// device's name on standard output; 1 when not, so the run is pointed at
// OpenAL Soft's wave-file writer instead. Plays nothing and reads nothing.
#include <AL/alc.h>

#include <cstdio>

int main() {
  ALCdevice* device = alcOpenDevice(nullptr);
  if (device == nullptr) return 1;
  ALCcontext* context = alcCreateContext(device, nullptr);
  const bool opened = context != nullptr;
  if (opened) {
    std::printf("%s\n", alcGetString(device, ALC_DEVICE_SPECIFIER));
    alcDestroyContext(context);
  }
  alcCloseDevice(device);
  return opened ? 0 : 1;
}
