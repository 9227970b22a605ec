// Helpers of the music tests: the music source's state, the blocks the
// active stream queues read back one refill at a time, and the WAV piece most
// tests stream.
#ifndef VESKFRAME_TESTS_AUDIO_MUSICSTREAMKIT_H
#define VESKFRAME_TESTS_AUDIO_MUSICSTREAMKIT_H

#include <AL/al.h>

#include <string>
#include <vector>

namespace audiotest {

constexpr int kStreamRate = 44100;
constexpr int kStreamBlockBytes = 16384;
constexpr int kToneBytes = 100000;  // 25,000 stereo frames: six full blocks and 1,696 bytes

ALint MusicSourceInt(ALenum what);
ALint BufferSize(unsigned buffer);
// Empties the ring as if every queued block had played and been taken back,
// so the next refill goes ahead at once and fills MusicBuffer[0].
void EmptyRing();
// Sizes of the next blocks the active stream queues, one refill at a time,
// until it ends or `limit` blocks were seen.
std::vector<int> MoreBlocks(int limit);
// The same, beginning with the block queued by the start.
std::vector<int> BlocksFromStart(int limit);
long Sum(const std::vector<int>& sizes);
// 440 Hz stereo piece of kToneBytes: a format chunk of 18 bytes and a LIST
// chunk before the data, and a loud chunk after it that is not samples.
std::string ToneWav();

}  // namespace audiotest

#endif  // VESKFRAME_TESTS_AUDIO_MUSICSTREAMKIT_H
