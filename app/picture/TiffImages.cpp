#include "app/picture/TiffImages.h"

#include "app/picture/ContainerBytes.h"

#include <array>
#include <deque>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr int kMaxDirectories = 64;
constexpr uint32_t kMaxSubIfds = 16;

enum Tag : uint16_t {
  kRw2SensorTop = 0x0004,
  kRw2SensorLeft = 0x0005,
  kRw2SensorBottom = 0x0006,
  kRw2SensorRight = 0x0007,
  kRw2JpgFromRaw = 0x002E,
  kWidth = 0x0100,
  kHeight = 0x0101,
  kBitsPerSample = 0x0102,
  kCompression = 0x0103,
  kPhotometric = 0x0106,
  kStripOffsets = 0x0111,
  kSamplesPerPixel = 0x0115,
  kStripByteCounts = 0x0117,
  kSubIfds = 0x014A,
  kJpegOffset = 0x0201,
  kJpegLength = 0x0202,
};

enum Type : uint16_t { kByte = 1, kShort = 3, kLong = 4, kUndefined = 7, kIfd = 13 };

struct Entry {
  uint16_t type = 0;
  uint32_t count = 0;
  std::array<uint8_t, 4> field{};  // the value, or the offset of the values
};

class Directories {
 public:
  Directories(PictureBytes& bytes, int64_t base, const TiffHeader& header)
      : bytes_(bytes), base_(base), big_(header.bigEndian), rw2_(header.magic == 0x55) {}

  TiffImages walk(uint32_t ifd0) {
    std::deque<uint32_t> queue{ifd0 > 8 ? ifd0 : 8u};
    std::unordered_set<uint32_t> seen;
    while (!queue.empty() && static_cast<int>(seen.size()) < kMaxDirectories) {
      const uint32_t offset = queue.front();
      queue.pop_front();
      if (offset == 0 || !seen.insert(offset).second) continue;  // a chain looping back ends
      readDirectory(offset, queue);
    }
    return result_;
  }

 private:
  uint16_t u16(const uint8_t* b) const { return big_ ? container::be16(b) : container::le16(b); }
  uint32_t u32(const uint8_t* b) const { return big_ ? container::be32(b) : container::le32(b); }

  // The first value of a SHORT or LONG entry, inline or at its offset.
  std::optional<uint32_t> first(const Entry& e) const {
    const int64_t width = e.type == kShort ? 2 : (e.type == kLong || e.type == kIfd ? 4 : 0);
    if (width == 0 || e.count == 0) return std::nullopt;
    if (width * e.count <= 4) return width == 2 ? u16(e.field.data()) : u32(e.field.data());
    std::array<uint8_t, 4> b{};
    if (!container::readExact(bytes_, base_ + u32(e.field.data()), b.data(), width)) return std::nullopt;
    return width == 2 ? u16(b.data()) : u32(b.data());
  }

  void readDirectory(uint32_t offset, std::deque<uint32_t>& queue) {
    const int64_t at = base_ + offset;
    std::array<uint8_t, 2> countBytes{};
    if (!container::readExact(bytes_, at, countBytes.data(), 2)) return;
    const uint16_t count = u16(countBytes.data());
    std::unordered_map<uint16_t, Entry> entries;
    for (uint16_t i = 0; i < count; ++i) {
      std::array<uint8_t, 12> e{};
      if (!container::readExact(bytes_, at + 2 + 12 * int64_t{i}, e.data(), 12)) return;  // cut
      Entry entry{u16(&e[2]), u32(&e[4]), {e[8], e[9], e[10], e[11]}};
      entries.try_emplace(u16(&e[0]), entry);
    }
    std::array<uint8_t, 4> next{};
    if (container::readExact(bytes_, at + 2 + 12 * int64_t{count}, next.data(), 4)) queue.push_back(u32(next.data()));
    if (const auto it = entries.find(kSubIfds); it != entries.end()) queueSubIfds(it->second, queue);
    const auto value = [&](uint16_t tag) -> std::optional<uint32_t> {
      const auto it = entries.find(tag);
      return it == entries.end() ? std::nullopt : first(it->second);
    };
    noteSize(value(kWidth), value(kHeight), value(kBitsPerSample), value(kSamplesPerPixel));
    if (rw2_) {
      const auto top = value(kRw2SensorTop), left = value(kRw2SensorLeft);
      const auto bottom = value(kRw2SensorBottom), right = value(kRw2SensorRight);
      if (top && left && bottom && right && *bottom > *top && *right > *left) {
        noteSize(*right - *left, *bottom - *top, std::nullopt, std::nullopt);
      }
      if (const auto it = entries.find(kRw2JpgFromRaw); it != entries.end() && it->second.type == kUndefined) {
        noteJpeg(u32(it->second.field.data()), it->second.count);
      }
    }
    const auto jpegOffset = value(kJpegOffset), jpegLength = value(kJpegLength);
    if (jpegOffset && jpegLength) noteJpeg(*jpegOffset, *jpegLength);
    const auto compression = value(kCompression), photometric = value(kPhotometric);
    const auto strips = entries.find(kStripOffsets);
    if (compression && (*compression == 6 || *compression == 7) && photometric &&
        (*photometric == 2 || *photometric == 6) && strips != entries.end() && strips->second.count == 1) {
      if (const auto length = value(kStripByteCounts); length && first(strips->second)) {
        noteJpeg(*first(strips->second), *length);
      }
    }
  }

  void queueSubIfds(const Entry& e, std::deque<uint32_t>& queue) {
    if (e.type != kLong && e.type != kIfd) return;
    const uint32_t n = std::min(e.count, kMaxSubIfds);
    if (n == 1) {
      queue.push_back(u32(e.field.data()));
      return;
    }
    const int64_t at = base_ + u32(e.field.data());
    for (uint32_t i = 0; i < n; ++i) {
      std::array<uint8_t, 4> b{};
      if (!container::readExact(bytes_, at + 4 * int64_t{i}, b.data(), 4)) return;
      queue.push_back(u32(b.data()));
    }
  }

  void noteSize(std::optional<uint32_t> width, std::optional<uint32_t> height, std::optional<uint32_t> bits,
                std::optional<uint32_t> samples) {
    if (!width || !height || *width == 0 || *height == 0) return;
    const int64_t area = int64_t{*width} * *height;
    if (area <= result_.width * result_.height) return;
    result_.width = *width;
    result_.height = *height;
    result_.bits = bits.value_or(0);
    result_.samples = samples.value_or(0);
  }

  void noteJpeg(uint32_t offset, uint32_t length) {
    const int64_t start = base_ + offset;
    const int64_t size = bytes_.size();
    if (length < 4 || start > size || length > size - start || length <= result_.largestJpeg.length) return;
    std::array<uint8_t, 2> soi{};
    if (!container::readExact(bytes_, start, soi.data(), 2) || soi[0] != 0xFF || soi[1] != 0xD8) return;
    result_.largestJpeg = EmbeddedJpeg{start, length};
  }

  PictureBytes& bytes_;
  int64_t base_;
  bool big_;
  bool rw2_;
  TiffImages result_;
};

}  // namespace

TiffImages ReadTiffImages(PictureBytes& bytes, int64_t base, const TiffHeader& header) {
  return Directories(bytes, base, header).walk(static_cast<uint32_t>(header.ifd0));
}
