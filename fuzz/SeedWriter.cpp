// Writes the seed corpora of the fuzz targets into <out>/sound, <out>/music,
// <out>/images and <out>/strings, and plain WAV files into <out>/ogg-source
// that make-seeds.sh encodes into the Ogg Vorbis seeds. Every seed is a valid
// input built here from nothing: WAV files of 8 and 16 bits, mono and stereo,
// with LIST and fact chunks and format chunks of 16 and 18 bytes; PNG files
// in every colour type and bit depth lodepng writes, interlaced or not, as
// sheets and as single images; operation lists for the string helpers; and
// session recordings of a few steps, written by the framework's own writer.
#include <lodepng.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "FuzzTargets.h"
#include "frame/SessionFile.h"
#include "input/InputSlots.h"

namespace {

using Bytes = std::string;

Bytes Le(unsigned value, int count) {
  Bytes out;
  for (int i = 0; i < count; i++) out.push_back(char((value >> (8 * i)) & 0xFF));
  return out;
}

Bytes Chunk(const Bytes& tag, const Bytes& body) {
  Bytes out = tag + Le(unsigned(body.size()), 4) + body;
  if (body.size() % 2 == 1) out.push_back('\0');  // pad byte after an odd body
  return out;
}

struct WavShape {
  const char* name;
  int channels;
  int bits;
  int formatBytes;  // 16 or 18
  bool list;
  bool fact;
  int frames;
};

Bytes Samples(const WavShape& s) {
  Bytes out;
  for (int i = 0; i < s.frames; i++) {
    const double v = std::sin(i * 0.2) * 0.5;
    for (int c = 0; c < s.channels; c++) {
      if (s.bits == 8) {
        out += Le(unsigned(128 + int(v * 127)), 1);
      } else {
        out += Le(unsigned(int(v * 32767)) & 0xFFFF, 2);
      }
    }
  }
  return out;
}

Bytes Wav(const WavShape& s, int rate) {
  const int frameBytes = s.channels * s.bits / 8;
  Bytes format = Le(1, 2) + Le(unsigned(s.channels), 2) + Le(unsigned(rate), 4) +
                 Le(unsigned(rate * frameBytes), 4) + Le(unsigned(frameBytes), 2) +
                 Le(unsigned(s.bits), 2);
  if (s.formatBytes == 18) format += Le(0, 2);
  Bytes chunks = Chunk("fmt ", format);
  if (s.list) chunks += Chunk("LIST", "INFOISFT" + Le(5, 4) + Bytes("seed\0\0", 6));
  if (s.fact) chunks += Chunk("fact", Le(unsigned(s.frames), 4));
  chunks += Chunk("data", Samples(s));
  return "RIFF" + Le(unsigned(chunks.size() + 4), 4) + "WAVE" + chunks;
}

bool Write(const std::string& path, const Bytes& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

// ---- Images ----

// A picture with a key-coloured pixel in every 8 x 8 block, so the loader's
// key handling and colour bleed run on the seeds too.
std::vector<unsigned char> Picture(unsigned w, unsigned h) {
  std::vector<unsigned char> rgba(size_t(w) * h * 4);
  for (unsigned y = 0; y < h; y++) {
    for (unsigned x = 0; x < w; x++) {
      unsigned char* p = &rgba[(size_t(y) * w + x) * 4];
      const bool key = x % 8 == 3 && y % 8 == 5;
      p[0] = key ? 255 : static_cast<unsigned char>(x * 17 + y * 3);
      p[1] = key ? 0 : static_cast<unsigned char>(y * 29);
      p[2] = key ? 255 : static_cast<unsigned char>(x * y);
      p[3] = static_cast<unsigned char>(x % 4 == 0 ? 255 : 128 + y);
    }
  }
  return rgba;
}

// Encodes the picture in the given colour type and depth. lodepng reduces
// the picture's colours to grey, drops alpha or widens to 16 bits itself;
// palette files get a palette of 2^depth distinct colours (entry 1 the
// magenta key) and a picture made of exactly those colours.
bool EncodeAs(std::vector<unsigned char>& png, unsigned w, unsigned h, LodePNGColorType type,
              unsigned depth, bool interlace) {
  std::vector<unsigned char> rgba = Picture(w, h);
  lodepng::State state;
  state.info_raw.colortype = LCT_RGBA;
  state.info_raw.bitdepth = 8;
  state.info_png.color.colortype = type;
  state.info_png.color.bitdepth = depth;
  state.info_png.interlace_method = interlace ? 1 : 0;
  state.encoder.auto_convert = 0;
  if (type == LCT_PALETTE) {
    const unsigned entries = 1u << depth;
    std::vector<unsigned char> table;
    for (unsigned i = 0; i < entries; i++) {
      const bool key = i == 1;
      const unsigned char entry[4] = {static_cast<unsigned char>(key ? 255 : i),
                                      static_cast<unsigned char>(key ? 0 : 255 - i),
                                      static_cast<unsigned char>(key ? 255 : i * 7),
                                      static_cast<unsigned char>(i % 3 == 2 ? 128 : 255)};
      lodepng_palette_add(&state.info_png.color, entry[0], entry[1], entry[2], entry[3]);
      table.insert(table.end(), entry, entry + 4);
    }
    for (unsigned y = 0; y < h; y++) {
      for (unsigned x = 0; x < w; x++) {
        const unsigned i = (x + y * 3) % entries;
        std::copy(&table[i * 4], &table[i * 4] + 4, &rgba[(size_t(y) * w + x) * 4]);
      }
    }
  }
  png.clear();
  return lodepng::encode(png, rgba, w, h, state) == 0;
}

// ---- String operations ----

Bytes Operation(int op, bool fromTempstr, int a, int b, const Bytes& text) {
  return Le(unsigned(op), 1) + Le(fromTempstr ? 1u : 0u, 1) + Le(unsigned(a), 4) +
         Le(unsigned(b), 4) + text + Bytes(1, '\0');
}

// ---- Session recordings ----

// A recording of `steps` update steps in the shape a game writes: the
// prologue, steps with clock readings, a few input changes, the view and
// render counts once and a draw checksum each, then the end (unless `cut`).
Bytes Recording(const std::string& scratch, int steps, bool cut) {
  SessionHeader header{};
  header.version = kSessionVersion;
  header.inputWords = kInputWords;
  header.gameNumber = 1;
  header.clockAtStart = 250;
  for (int i = 0; i < kRandomStateWords; i++) header.random[i] = 1000 + i;
  SessionWriter writer{};
  if (!OpenSessionWriter(writer, scratch.c_str(), header)) return Bytes();
  SessionEntry entry{};
  entry.flags = kEntryClock;
  entry.clock = {251, 251};
  bool written = WriteSessionEntry(writer, entry);
  for (int step = 1; step <= steps && written; step++) {
    ClearEntry(entry);
    entry.flags = kEntryClock | kEntryDrawSum;
    entry.clock = {250 + 16 * step, 251 + 16 * step};
    entry.drawSum = 0x9E3779B9u * unsigned(step);
    if (step == 1) {
      entry.flags |= kEntryView | kEntryRender;
      entry.view = SessionView{400, 300, 0.0025f, 1.3333f, 800, 600};
      entry.render = SessionRenderCounts{60, 1200};
    }
    if (step % 3 == 1) {
      entry.flags |= kEntryInput;
      entry.input = {{kButtonRight, unsigned(step % 2)}, {kButtonFocus, 1}, {kInputWords - 1, 7}};
    }
    written = WriteSessionEntry(writer, entry);
  }
  if (!cut && written) {
    ClearEntry(entry);
    entry.flags = kEntryEnd;
    written = WriteSessionEntry(writer, entry);
  }
  CloseSessionWriter(writer);
  std::FILE* file = std::fopen(scratch.c_str(), "rb");
  if (!written || file == nullptr) return Bytes();
  Bytes bytes;
  for (int c; (c = std::fgetc(file)) != EOF;) bytes.push_back(char(c));
  std::fclose(file);
  std::remove(scratch.c_str());
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  const std::string out = argv[1];
  int written = 0;
  int failed = 0;
  auto put = [&](const std::string& path, const Bytes& bytes) {
    if (Write(out + "/" + path, bytes)) {
      written++;
    } else {
      std::fprintf(stderr, "cannot write %s/%s\n", out.c_str(), path.c_str());
      failed++;
    }
  };

  const WavShape shapes[] = {
      {"mono8", 1, 8, 16, false, false, 300},
      {"stereo8", 2, 8, 16, false, false, 300},
      {"mono16", 1, 16, 16, false, false, 300},
      {"stereo16", 2, 16, 16, false, false, 300},
      {"mono16-list", 1, 16, 16, true, false, 301},
      {"stereo16-fact", 2, 16, 18, false, true, 200},
      {"stereo8-list-fact", 2, 8, 18, true, true, 251},
      {"mono8-format18", 1, 8, 18, false, false, 99},
  };
  for (const WavShape& s : shapes) {
    const Bytes wav = Wav(s, 22050);
    put("sound/" + std::string(s.name) + ".wav", wav);
    for (int loop = 0; loop < 2; loop++) {
      const uint8_t control =
          uint8_t((loop ? fuzz::kMusicLoop : 0) | (3 << fuzz::kMusicRefillShift));
      put("music/wav-" + std::string(s.name) + (loop ? "-loop" : "") + ".bin",
          Bytes(1, char(control)) + wav);
    }
    if (s.bits == 16) {
      WavShape longer = s;
      longer.frames = 11025;  // half a second for the encoder
      put("ogg-source/" + std::string(s.name) + ".wav", Wav(longer, 22050));
    }
  }

  struct PngKind {
    LodePNGColorType type;
    unsigned depth;
    const char* name;
  };
  const PngKind kinds[] = {
      {LCT_GREY, 1, "grey1"},       {LCT_GREY, 2, "grey2"},   {LCT_GREY, 4, "grey4"},
      {LCT_GREY, 8, "grey8"},       {LCT_GREY, 16, "grey16"}, {LCT_RGB, 8, "rgb8"},
      {LCT_RGB, 16, "rgb16"},       {LCT_PALETTE, 1, "pal1"}, {LCT_PALETTE, 2, "pal2"},
      {LCT_PALETTE, 4, "pal4"},     {LCT_PALETTE, 8, "pal8"}, {LCT_GREY_ALPHA, 8, "ga8"},
      {LCT_GREY_ALPHA, 16, "ga16"}, {LCT_RGBA, 8, "rgba8"},   {LCT_RGBA, 16, "rgba16"},
  };
  struct Layout {
    unsigned w, h;
    int fsA, fsB;  // the two frame sizes the target loads with
    const char* name;
  };
  const Layout layouts[] = {
      {40, 16, 8, 40, "sheet"}, {16, 16, 16, 32, "single"}, {12, 40, 12, 5, "strip"}};
  for (const PngKind& k : kinds) {
    for (const Layout& l : layouts) {
      for (int interlace = 0; interlace < 2; interlace++) {
        std::vector<unsigned char> png;
        if (!EncodeAs(png, l.w, l.h, k.type, k.depth, interlace != 0)) {
          std::fprintf(stderr, "cannot encode %s %s\n", k.name, l.name);
          failed++;
          continue;
        }
        Bytes seed;
        // Interlaced seeds also ask for recomputed chunk checksums.
        const uint8_t repair = interlace ? fuzz::kImagesRepairChecksums : 0;
        seed.push_back(char(fuzz::ByteForFrameSize(l.fsA) | repair));
        seed.push_back(char(fuzz::ByteForFrameSize(l.fsB)));
        seed.append(png.begin(), png.end());
        put("images/" + std::string(k.name) + "-" + l.name + (interlace ? "-adam7" : "") + ".bin",
            seed);
      }
    }
  }

  // Operation numbers follow the target's list: Split, Mid, Left, Right,
  // Trim, iniLeft, iniRight, HexToInt, BinToInt, ToInt, Checksum with a key,
  // Checksum, fstr.
  put("strings/ini.bin", Operation(5, false, 0, 0, "volume = 7") +
                             Operation(6, false, 0, 0, "a=b=c") + Operation(4, true, 0, 0, ""));
  put("strings/split.bin", Operation(0, false, ',', 2, "red,green,blue") +
                               Operation(0, true, 'e', 1, "") +
                               Operation(0, false, ' ', 3, "a b "));
  put("strings/cut.bin", Operation(1, false, 2, 3, "framework") + Operation(2, true, 2, 0, "") +
                             Operation(3, false, 4, 0, "screenshot") +
                             Operation(1, true, -5, -1, ""));
  put("strings/numbers.bin",
      Operation(7, false, 0, 0, "  0x7fFfFFff") + Operation(8, false, 0, 0, "-101101") +
          Operation(9, false, 0, 0, "+2147483648") + Operation(9, false, 0, 0, "-99999999999"));
  put("strings/checksum.bin", Operation(10, false, 123456789, 0, "Score 1234 ok") +
                                  Operation(11, false, 0, 0, "\x80\xff high bytes") +
                                  Operation(12, false, -7, 0, "fmt") +
                                  Operation(12, true, 3, 0, ""));
  put("strings/long.bin", Operation(12, false, 1, 0, std::string(1500, 'x')) +
                              Operation(3, true, 2000, 0, "") + Operation(4, true, 0, 0, ""));

  const std::string scratch = out + "/recording.tmp";
  for (int repair = 0; repair < 2; repair++) {
    const Bytes control(1, char(repair ? fuzz::kRecordingRepair : 0));
    const std::string suffix = repair ? "-repair.bin" : ".bin";
    for (int steps : {0, 1, 5}) {
      const Bytes file = Recording(scratch, steps, false);
      if (file.empty()) failed++;
      put("recording/steps" + std::to_string(steps) + suffix, control + file);
    }
    const Bytes cut = Recording(scratch, 4, true);
    if (cut.empty()) failed++;
    put("recording/cut" + suffix, control + cut);
  }

  std::printf("%d seeds written\n", written);
  return failed == 0 ? 0 : 1;
}
