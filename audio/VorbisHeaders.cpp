// Ogg Vorbis header check, run on a music file before the decoder sees it.
// The first three packets (identification, comments, set-up) are gathered
// from the file's first Ogg pages, whose framing and checksums are checked
// with audio/OggPages.cpp, and then walked field by field: each count,
// length and table index is held to the limits of the format, to what the
// packet holds and to sizes the decoder's 32-bit arithmetic can represent.
// The decoder itself trusts some of these fields (a comment length of -1, a
// run of code lengths read past the end of the packet, tables whose byte
// sizes overflow), so a file that fails here is refused like a corrupt one
// instead of being handed to it.
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "audio/Audio.h"
#include "audio/OggPages.h"

namespace {

// ---- Header pages ----

constexpr int kHeaderPackets = 3;
constexpr int kIdentificationBytes = 30;
// Header packets larger than this are refused (real set-up packets are a few
// KiB; the decoder's whole working memory is smaller).
constexpr size_t kMostHeaderBytes = 1 << 20;

// Reads the header packets page by page. The identification packet must be
// alone on the first page, and the comment packet must start the second, as
// the decoder reads them.
bool ReadHeaderPackets(FILE* file, std::vector<uint8_t> (&packets)[kHeaderPackets]) {
  int done = 0;
  size_t total = 0;
  uint32_t serial = 0;
  uint32_t sequence = 0;
  for (int pageNumber = 0; done < kHeaderPackets; pageNumber++) {
    std::vector<uint8_t> page(kOggHeaderBytes);
    if (std::fread(page.data(), 1, kOggHeaderBytes, file) != static_cast<size_t>(kOggHeaderBytes)) {
      return false;
    }
    if (std::memcmp(page.data(), kOggCapture, kOggCaptureBytes) != 0 || page[kOggVersionAt] != 0) {
      return false;
    }
    const uint8_t flags = page[kOggFlagsAt];
    const int segments = page[kOggSegmentsAt];
    page.resize(kOggHeaderBytes + segments);
    if (std::fread(&page[kOggHeaderBytes], 1, segments, file) != static_cast<size_t>(segments)) {
      return false;
    }
    const size_t lacingEnd = page.size();
    page.resize(OggPageBytes(page.data(), lacingEnd));
    const size_t body = page.size() - lacingEnd;
    if (body > 0 && std::fread(&page[lacingEnd], 1, body, file) != body) return false;

    const uint32_t stated = OggLe32(&page[kOggChecksumAt]);
    std::memset(&page[kOggChecksumAt], 0, 4);
    if (OggPageChecksum(page.data(), page.size()) != stated) return false;
    const uint32_t pageSerial = OggLe32(&page[kOggSerialAt]);
    const uint32_t pageSequence = OggLe32(&page[kOggSequenceAt]);
    if (pageNumber == 0) {
      if (flags != kOggFirstPage || segments != 1 ||
          page[kOggHeaderBytes] != kIdentificationBytes) {
        return false;
      }
      serial = pageSerial;
    } else if (pageSerial != serial || pageSequence != sequence + 1 || (flags & kOggFirstPage)) {
      return false;
    }
    sequence = pageSequence;
    // A page continues a packet exactly when one is unfinished (so the
    // comment packet begins on a fresh page).
    const bool unfinished = done < kHeaderPackets && !packets[done].empty();
    if (((flags & kOggContinued) != 0) != unfinished) return false;

    size_t at = lacingEnd;
    for (int i = 0; i < segments && done < kHeaderPackets; i++) {
      const int lacing = page[kOggHeaderBytes + i];
      total += lacing;
      if (total > kMostHeaderBytes) return false;
      packets[done].insert(packets[done].end(), &page[at], &page[at] + lacing);
      at += lacing;
      if (lacing < kOggLacingEnd) done++;
    }
  }
  return true;
}

// ---- Packets ----

constexpr uint8_t kIdentificationType = 1;
constexpr uint8_t kCommentType = 3;
constexpr uint8_t kSetupType = 5;
constexpr int kPacketTagBytes = 7;  // type byte and "vorbis"
constexpr int kMaxChannels = 16;    // the decoder's own limit
constexpr int kSmallestBlockLog = 6;
constexpr int kLargestBlockLog = 13;
constexpr int kMostFloor1Values = 65;
constexpr int kNoBook = -1;
// Fields of the identification packet (byte offsets).
constexpr int kIdVersionAt = 7;
constexpr int kIdChannelsAt = 11;
constexpr int kIdRateAt = 12;
constexpr int kIdBlockSizesAt = 28;  // two 4-bit logs: small block low, large block high
constexpr int kIdFramingAt = 29;

bool Tagged(const std::vector<uint8_t>& packet, uint8_t type) {
  return packet.size() >= static_cast<size_t>(kPacketTagBytes) && packet[0] == type &&
         std::memcmp(&packet[1], "vorbis", 6) == 0;
}

bool IdentificationValid(const std::vector<uint8_t>& p, int* channels) {
  if (p.size() != static_cast<size_t>(kIdentificationBytes) || !Tagged(p, kIdentificationType))
    return false;
  const int blockLogs = p[kIdBlockSizesAt];
  const int small = blockLogs & 15;
  const int large = blockLogs >> 4;
  *channels = p[kIdChannelsAt];
  return OggLe32(&p[kIdVersionAt]) == 0 && *channels >= 1 && *channels <= kMaxChannels &&
         OggLe32(&p[kIdRateAt]) != 0 && small >= kSmallestBlockLog && large <= kLargestBlockLog &&
         small <= large && (p[kIdFramingAt] & 1) != 0;
}

// The vendor text, the comment count and every comment length must fit in
// what is left of the packet, and the framing bit must follow.
bool CommentsValid(const std::vector<uint8_t>& p) {
  if (!Tagged(p, kCommentType)) return false;
  size_t at = kPacketTagBytes;
  auto takeLength = [&](uint32_t* value) {
    if (p.size() - at < 4) return false;
    *value = OggLe32(&p[at]);
    at += 4;
    return true;
  };
  uint32_t vendor = 0;
  if (!takeLength(&vendor) || vendor > p.size() - at) return false;
  at += vendor;
  uint32_t count = 0;
  if (!takeLength(&count) || count > (p.size() - at) / 4) return false;
  for (uint32_t i = 0; i < count; i++) {
    uint32_t length = 0;
    if (!takeLength(&length) || length > p.size() - at) return false;
    at += length;
  }
  return at < p.size() && (p[at] & 1) != 0;
}

// Reads bit fields least significant bit first; a read past the end of the
// packet sets `over` and gives 0.
struct BitReader {
  const std::vector<uint8_t>& bytes;
  size_t bit = 0;
  bool over = false;

  uint32_t Read(int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; i++) {
      if (bit >= bytes.size() * 8) {
        over = true;
        return 0;
      }
      value |= static_cast<uint32_t>((bytes[bit / 8] >> (bit % 8)) & 1) << i;
      bit++;
    }
    return value;
  }
  uint64_t BitsLeft() const { return bit >= bytes.size() * 8 ? 0 : bytes.size() * 8 - bit; }
};

int BitsFor(uint32_t value) {
  int bits = 0;
  while (value > 0) {
    bits++;
    value >>= 1;
  }
  return bits;
}

// The decoder's own computation of a type-1 lookup table's size (the largest
// r with r^dimensions <= entries), done in the same arithmetic (float
// operands, double functions) so the number of values it reads is the number
// checked here; -1 when it finds none. Where a power leaves the int range the
// decoder's conversions are undefined and its count cannot be known, so such
// books are refused too.
int Lookup1Values(int entries, int dimensions) {
  const double most = INT_MAX;
  const float logPart =
      static_cast<float>(std::log(static_cast<double>(static_cast<float>(entries)))) /
      static_cast<float>(dimensions);
  const double root = std::floor(std::exp(static_cast<double>(logPart)));
  if (!(root <= most)) return -1;
  int r = static_cast<int>(root);
  auto power = [dimensions](int base) {
    return std::pow(static_cast<double>(static_cast<float>(base)), static_cast<double>(dimensions));
  };
  double next = power(r + 1);
  if (!(next <= most)) return -1;
  if (static_cast<int>(std::floor(next)) <= entries) next = power(++r + 1);
  if (!(next <= most) || next <= entries) return -1;
  if (static_cast<int>(std::floor(power(r))) > entries) return -1;
  return r;
}

struct Book {
  uint32_t entries;
  int lookupType;
};

// Value tables of one codebook hold at most this many numbers, which keeps
// every table size the decoder computes (4 bytes a value) far below 2^31.
constexpr uint64_t kMostBookValues = 1 << 22;
constexpr int kMostCodeLength = 32;
constexpr uint32_t kCodebookSync = 0x564342;

bool CodebookValid(BitReader& in, Book* book) {
  if (in.Read(24) != kCodebookSync) return false;
  const uint32_t dimensions = in.Read(16);
  const uint32_t entries = in.Read(24);
  if (dimensions == 0 && entries != 0) return false;
  if (in.Read(1) != 0) {  // ordered: runs of equal code lengths
    uint32_t current = 0;
    int length = static_cast<int>(in.Read(5)) + 1;
    while (current < entries && !in.over) {
      const uint32_t run = in.Read(BitsFor(entries - current));
      if (length >= kMostCodeLength || run > entries - current) return false;
      current += run;
      length++;
    }
  } else {
    const bool sparse = in.Read(1) != 0;
    for (uint32_t i = 0; i < entries && !in.over; i++) {
      if (sparse && in.Read(1) == 0) continue;
      if (static_cast<int>(in.Read(5)) + 1 == kMostCodeLength) return false;
    }
  }
  book->entries = entries;
  book->lookupType = static_cast<int>(in.Read(4));
  if (book->lookupType > 2) return false;
  if (book->lookupType > 0) {
    in.Read(32);  // minimum value
    in.Read(32);  // delta
    const int valueBits = static_cast<int>(in.Read(4)) + 1;
    in.Read(1);  // sequence flag
    const uint64_t expanded = static_cast<uint64_t>(entries) * dimensions;
    if (expanded > kMostBookValues) return false;
    uint64_t values = expanded;
    if (book->lookupType == 1) {
      const int r =
          entries > 0 ? Lookup1Values(static_cast<int>(entries), static_cast<int>(dimensions)) : 0;
      if (r < 0) return false;
      values = static_cast<uint64_t>(r);
    }
    if (values == 0 || values * valueBits > in.BitsLeft()) return false;
    in.bit += values * valueBits;
  }
  return !in.over;
}

bool BookIndexValid(int book, int books) { return book >= 0 && book < books; }

bool Floor1Valid(BitReader& in, int books) {
  const int partitions = static_cast<int>(in.Read(5));
  int classOf[32];
  int largestClass = -1;
  for (int i = 0; i < partitions; i++) {
    classOf[i] = static_cast<int>(in.Read(4));
    if (classOf[i] > largestClass) largestClass = classOf[i];
  }
  int classDimensions[16];
  for (int c = 0; c <= largestClass; c++) {
    classDimensions[c] = static_cast<int>(in.Read(3)) + 1;
    const int subclasses = static_cast<int>(in.Read(2));
    if (subclasses > 0 && !BookIndexValid(static_cast<int>(in.Read(8)), books)) return false;
    for (int k = 0; k < (1 << subclasses); k++) {
      const int book = static_cast<int>(in.Read(8)) - 1;
      if (book != kNoBook && !BookIndexValid(book, books)) return false;
    }
  }
  in.Read(2);  // multiplier
  const int rangeBits = static_cast<int>(in.Read(4));
  std::vector<uint32_t> xs = {0, 1u << rangeBits};
  for (int i = 0; i < partitions; i++) {
    for (int k = 0; k < classDimensions[classOf[i]]; k++) {
      if (static_cast<int>(xs.size()) >= kMostFloor1Values) return false;
      const uint32_t x = in.Read(rangeBits);
      for (uint32_t earlier : xs) {
        if (earlier == x) return false;
      }
      xs.push_back(x);
    }
  }
  return !in.over;
}

// Residue books decode vectors, so each needs a value table.
bool ResidueValid(BitReader& in, const std::vector<Book>& books) {
  const int count = static_cast<int>(books.size());
  if (in.Read(16) > 2) return false;  // type 0, 1 or 2
  const uint32_t begin = in.Read(24);
  const uint32_t end = in.Read(24);
  if (end < begin) return false;
  in.Read(24);  // partition size
  const int classifications = static_cast<int>(in.Read(6)) + 1;
  if (!BookIndexValid(static_cast<int>(in.Read(8)), count)) return false;
  int cascade[64];
  for (int i = 0; i < classifications; i++) {
    const int low = static_cast<int>(in.Read(3));
    const int high = in.Read(1) != 0 ? static_cast<int>(in.Read(5)) : 0;
    cascade[i] = high * 8 + low;
  }
  for (int i = 0; i < classifications; i++) {
    for (int k = 0; k < 8; k++) {
      if ((cascade[i] & (1 << k)) == 0) continue;
      const int book = static_cast<int>(in.Read(8));
      if (!BookIndexValid(book, count) || books[book].lookupType == 0) return false;
    }
  }
  return !in.over;
}

bool MappingValid(BitReader& in, int channels, int floors, int residues) {
  if (in.Read(16) != 0) return false;
  const int submaps = in.Read(1) != 0 ? static_cast<int>(in.Read(4)) + 1 : 1;
  if (in.Read(1) != 0) {
    const int steps = static_cast<int>(in.Read(8)) + 1;
    if (steps > channels) return false;
    const int bits = BitsFor(static_cast<uint32_t>(channels - 1));
    for (int i = 0; i < steps; i++) {
      const int magnitude = static_cast<int>(in.Read(bits));
      const int angle = static_cast<int>(in.Read(bits));
      if (magnitude >= channels || angle >= channels || magnitude == angle) return false;
    }
  }
  if (in.Read(2) != 0) return false;
  if (submaps > 1) {
    for (int i = 0; i < channels; i++) {
      if (static_cast<int>(in.Read(4)) >= submaps) return false;
    }
  }
  for (int i = 0; i < submaps; i++) {
    in.Read(8);
    if (static_cast<int>(in.Read(8)) >= floors || static_cast<int>(in.Read(8)) >= residues)
      return false;
  }
  return !in.over;
}

bool SetupValid(const std::vector<uint8_t>& p, int channels) {
  if (!Tagged(p, kSetupType)) return false;
  BitReader in{p};
  in.bit = kPacketTagBytes * 8;
  std::vector<Book> books(in.Read(8) + 1);
  for (Book& book : books) {
    if (!CodebookValid(in, &book)) return false;
  }
  const int transforms = static_cast<int>(in.Read(6)) + 1;
  for (int i = 0; i < transforms; i++) {
    if (in.Read(16) != 0) return false;
  }
  const int floors = static_cast<int>(in.Read(6)) + 1;
  for (int i = 0; i < floors; i++) {
    // Floor type 0 is not decoded; only type 1 is accepted.
    if (in.Read(16) != 1 || !Floor1Valid(in, static_cast<int>(books.size()))) return false;
  }
  const int residues = static_cast<int>(in.Read(6)) + 1;
  for (int i = 0; i < residues; i++) {
    if (!ResidueValid(in, books)) return false;
  }
  const int mappings = static_cast<int>(in.Read(6)) + 1;
  for (int i = 0; i < mappings; i++) {
    if (!MappingValid(in, channels, floors, residues)) return false;
  }
  const int modes = static_cast<int>(in.Read(6)) + 1;
  for (int i = 0; i < modes; i++) {
    in.Read(1);  // block flag
    if (in.Read(16) != 0 || in.Read(16) != 0 || static_cast<int>(in.Read(8)) >= mappings)
      return false;
  }
  return in.Read(1) == 1 && !in.over;  // framing bit
}

}  // namespace

bool VorbisHeadersValid(FILE* file) {
  const long start = std::ftell(file);
  if (start < 0) return false;
  std::vector<uint8_t> packets[kHeaderPackets];
  int channels = 0;
  const bool valid = ReadHeaderPackets(file, packets) &&
                     IdentificationValid(packets[0], &channels) && CommentsValid(packets[1]) &&
                     SetupValid(packets[2], channels);
  return std::fseek(file, start, SEEK_SET) == 0 && valid;
}
