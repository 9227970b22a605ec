// The checksum of a handed-over draw list (HandedOverChecksum), which a
// recording keeps per update step so that a replay can tell where a game's
// drawing first differs. It covers every slot that a record's kind writes
// (kind, geometry, the draw state copy, image and frame: never the slots a
// kind leaves as they were), the order of the records, their count and the
// settings that act on the whole pass (background target and fade speed,
// smoothing, font), but not the background colour itself, which the render
// pass moves. Relies on the record layout of graphics/Records.h and reads
// DrawR, DrawToRT and the draw settings of ASys.
#include <cstdint>
#include <cstring>

#include "VeskFrame.h"
#include "graphics/Records.h"

namespace {

// The slots of each kind of record, as masks over the 30 slots.
enum MaskRow { kRowKindOnly, kRowBlend, kRowShape, kRowImage, kRowQuad, kRowQuadImage, kRows };

struct SlotMasks {
  uint64_t rows[kRows][kRecordSlots];
};

constexpr SlotMasks MakeMasks() {
  SlotMasks m{};
  for (int row = 0; row < kRows; row++) m.rows[row][kSlotKind] = ~0ull;
  m.rows[kRowBlend][kSlotBlendMode] = ~0ull;
  for (int row = kRowShape; row < kRows; row++) {
    const int geometry = (row == kRowQuad || row == kRowQuadImage) ? 2 * kQuadCorners : kSlotHeight;
    for (int s = 1; s <= geometry; s++) m.rows[row][s] = ~0ull;
    for (int s = 0; s < kDrawStateFloats; s++) m.rows[row][kRecordStateSlot + s] = ~0ull;
  }
  for (int row : {kRowImage, kRowQuadImage}) {
    m.rows[row][kSlotImage] = ~0ull;
    m.rows[row][kSlotFrame] = ~0ull;
  }
  return m;
}

constexpr SlotMasks kMasks = MakeMasks();

int RowOf(double kind) {
  if (kind == kCmdRect || kind == kCmdOval) return kRowShape;
  if (kind == kCmdQuad) return kRowQuad;
  if (kind == kCmdImage) return kRowImage;
  if (kind == kCmdQuadImage) return kRowQuadImage;
  if (kind == kCmdBlend) return kRowBlend;
  return kRowKindOnly;
}

// splitmix64's finaliser: every input bit reaches every output bit.
uint64_t Mix(uint64_t h) {
  h ^= h >> 30;
  h *= 0xBF58476D1CE4E5B9ull;
  h ^= h >> 27;
  h *= 0x94D049BB133111EBull;
  return h ^ (h >> 31);
}

template <typename T>
uint64_t Bits(T value) {
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof value);
  return bits;
}

}  // namespace

// Per slot a running sum of the masked words and a sum of those sums, so
// each record's place in the list counts too (Fletcher's scheme, 64 bits
// wide). The inner loop over the 30 slots has no dependence between slots,
// which lets the compiler keep the sums in vector registers.
uint32_t HandedOverChecksum() {
  int count = DrawToRT;
  if (count < 0) count = 0;
  if (count > kRenderListRecords) count = kRenderListRecords;
  uint64_t sum[kRecordSlots] = {};
  uint64_t sumOfSums[kRecordSlots] = {};
  for (int r = 0; r < count; r++) {
    const double* record = DrawR + r * kRecordSlots;
    const uint64_t* mask = kMasks.rows[RowOf(record[kSlotKind])];
    uint64_t words[kRecordSlots];
    std::memcpy(words, record, sizeof words);
    for (int s = 0; s < kRecordSlots; s++) {
      sum[s] += words[s] & mask[s];
      sumOfSums[s] += sum[s];
    }
  }
  uint64_t h = Mix(static_cast<uint64_t>(count));
  for (int s = 0; s < kRecordSlots; s++) h = Mix(h ^ Mix(sum[s] + s) ^ Mix(sumOfSums[s]));
  for (float v : ASys.ClsTarget) h = Mix(h ^ Bits(v));
  h = Mix(h ^ Bits(ASys.ClsSpeed));
  h = Mix(h ^ Bits(ASys.SmoothMode));
  h = Mix(h ^ Bits(ASys.FontImage));
  return static_cast<uint32_t>(h ^ (h >> 32));
}
