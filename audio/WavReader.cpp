// The small RIFF/WAVE reader shared by the sound slots (GetWAV) and the WAV
// music stream: little-endian field readers, the fixed header with its format
// chunk, the chunk walk to each "data" chunk and the format table.
// Every size read from the file is checked against what remains of it, so a
// negative, cut-off or oversized chunk ends the walk without allocating.
// Relies only on the C library's byte-file calls and the OpenAL format codes.
#include <AL/al.h>

#include <climits>
#include <cstring>

#include "audio/Audio.h"

namespace {
constexpr int kTagBytes = 4;
constexpr int kPcmFormat = 1;          // audio format of integer PCM
constexpr int kPlainFormatChunk = 16;  // format chunk without extra bytes
constexpr int kSkipScratch = 4096;     // skipped bytes are read through this many at a time

char TagBuffer[kTagBytes + 1];

// Bytes from the current position to the end of the file, 0 when unknown.
long BytesLeft(FILE* file) {
  long here = std::ftell(file);
  if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return 0;
  long end = std::ftell(file);
  std::fseek(file, here, SEEK_SET);
  return end > here ? end - here : 0;
}
}  // namespace

const char* readTag(FILE* file) {
  if (std::fread(TagBuffer, 1, kTagBytes, file) != kTagBytes) {
    TagBuffer[0] = '\0';
    return TagBuffer;
  }
  TagBuffer[kTagBytes] = '\0';
  return TagBuffer;
}

int readInt(FILE* file) {
  unsigned char bytes[4];
  if (std::fread(bytes, 1, sizeof bytes, file) != sizeof bytes) return -1;
  unsigned value =
      bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<unsigned>(bytes[3]) << 24);
  int result;
  std::memcpy(&result, &value, sizeof result);
  return result;
}

int readShort(FILE* file) {
  unsigned char bytes[2];
  if (std::fread(bytes, 1, sizeof bytes, file) != sizeof bytes) return -1;
  return bytes[0] | (bytes[1] << 8);
}

// Reads and discards n bytes (nothing for n <= 0), stopping at the end of the
// file; a fixed scratch block means a huge n never becomes a huge allocation.
void skipBytes(FILE* file, int n) {
  char scratch[kSkipScratch];
  while (n > 0) {
    size_t want = n < kSkipScratch ? static_cast<size_t>(n) : static_cast<size_t>(kSkipScratch);
    size_t got = std::fread(scratch, 1, want, file);
    if (got == 0) return;
    n -= static_cast<int>(got);
  }
}

int ReadWavHeader(FILE* file, WavFormat* format) {
  if (std::strcmp(readTag(file), "RIFF") != 0) return 0;
  readInt(file);  // RIFF size: writers that stream leave it unset
  if (std::strcmp(readTag(file), "WAVE") != 0) return 0;
  if (std::strcmp(readTag(file), "fmt ") != 0) return 0;
  int chunkSize = readInt(file);
  if (readShort(file) != kPcmFormat) return 0;
  format->channels = readShort(file);
  format->rate = readInt(file);
  readInt(file);    // byte rate
  readShort(file);  // block align
  format->bytesPerSample = readShort(file) / CHAR_BIT;
  if (chunkSize > kPlainFormatChunk) skipBytes(file, chunkSize - kPlainFormatChunk);
  return 1;
}

int FindWavData(FILE* file, bool toEndOfFile) {
  for (;;) {
    // A zero byte where a tag should begin is the pad byte that follows a
    // chunk of odd size (tags are printable); files written without the pad
    // byte read the same.
    int first = std::fgetc(file);
    if (first == EOF) return -1;
    if (first != 0) std::ungetc(first, file);

    const char* tag = readTag(file);
    if (std::feof(file) || std::ferror(file)) return -1;
    int size = readInt(file);
    const long left = BytesLeft(file);
    const bool isData = std::strcmp(tag, "data") == 0;
    if (isData && toEndOfFile && (size < 0 || size > left) && left > 0) {
      return left < INT_MAX ? static_cast<int>(left) : INT_MAX;
    }
    if (size < 0 || size > left) return -1;
    if (isData) return size;
    skipBytes(file, size);
  }
}

int WavFormatCode(const WavFormat& format) {
  if (format.bytesPerSample == 1 && format.channels == 1) return AL_FORMAT_MONO8;
  if (format.bytesPerSample == 1 && format.channels == 2) return AL_FORMAT_STEREO8;
  if (format.bytesPerSample == 2 && format.channels == 1) return AL_FORMAT_MONO16;
  if (format.bytesPerSample == 2 && format.channels == 2) return AL_FORMAT_STEREO16;
  return 0;
}
