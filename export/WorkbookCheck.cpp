#include "export/WorkbookCheck.h"

#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "export/ExportError.h"

namespace gleaner {
namespace {

constexpr std::string_view kSheetPart = "xl/worksheets/sheet1.xml";
constexpr std::string_view kRowsStart = "<sheetData>";
constexpr std::string_view kRowsEnd = "</sheetData>";
// Bytes kept of the start and of the end of each part.
constexpr std::size_t kEdge = 4096;
constexpr std::size_t kChunk = 64 * 1024;

[[noreturn]] void incomplete(const std::string& what) {
  throw ExportError("the workbook written is incomplete: " + what);
}

std::uint32_t littleEndian(std::string_view bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  }
  return value;
}

class Archive {
 public:
  explicit Archive(const std::filesystem::path& path) : in_(path, std::ios::binary) {
    if (!in_) incomplete("it cannot be read back");
    in_.seekg(0, std::ios::end);
    size_ = static_cast<std::uint64_t>(in_.tellg());
  }

  std::uint64_t size() const { return size_; }

  std::string read(std::uint64_t at, std::size_t n) {
    if (at > size_ || n > size_ - at) incomplete("an entry lies beyond the end of the file");
    std::string bytes(n, '\0');
    in_.seekg(static_cast<std::streamoff>(at));
    in_.read(bytes.data(), static_cast<std::streamsize>(n));
    if (!in_) incomplete("it cannot be read back");
    return bytes;
  }

 private:
  std::ifstream in_;
  std::uint64_t size_ = 0;
};

struct Entry {
  std::string name;
  std::uint32_t method = 0;
  std::uint32_t crc = 0;
  std::uint32_t compressed = 0;
  std::uint32_t size = 0;
  std::uint32_t local = 0;
};

std::vector<Entry> entriesOf(Archive& archive) {
  // The end-of-central-directory record: 22 bytes and a comment of at most 64 KiB.
  const std::size_t tailSize = static_cast<std::size_t>(std::min<std::uint64_t>(archive.size(), 22 + 65535));
  const std::string tail = archive.read(archive.size() - tailSize, tailSize);
  const std::size_t end = tail.rfind(std::string_view("PK\x05\x06", 4));
  if (end == std::string::npos || end + 22 > tail.size()) incomplete("no archive directory");
  const std::uint32_t count = littleEndian(tail, end + 10, 2);
  const std::string directory = archive.read(littleEndian(tail, end + 16, 4), littleEndian(tail, end + 12, 4));
  std::vector<Entry> entries;
  for (std::size_t at = 0; entries.size() < count; at += 46 + littleEndian(directory, at + 28, 2) +
                                                        littleEndian(directory, at + 30, 2) +
                                                        littleEndian(directory, at + 32, 2)) {
    if (at + 46 > directory.size() || littleEndian(directory, at, 4) != 0x02014b50) incomplete("a damaged directory");
    Entry entry;
    entry.method = littleEndian(directory, at + 10, 2);
    entry.crc = littleEndian(directory, at + 16, 4);
    entry.compressed = littleEndian(directory, at + 20, 4);
    entry.size = littleEndian(directory, at + 24, 4);
    entry.local = littleEndian(directory, at + 42, 4);
    entry.name = directory.substr(at + 46, littleEndian(directory, at + 28, 2));
    entries.push_back(std::move(entry));
  }
  return entries;
}

// What a part inflates to: its size, its checksum, its first and last bytes.
struct Part {
  std::uint64_t size = 0;
  std::uint32_t crc = 0;
  std::string head;
  std::string tail;

  void add(std::string_view bytes) {
    size += bytes.size();
    crc = static_cast<std::uint32_t>(
        crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
    if (head.size() < kEdge) head.append(bytes.substr(0, kEdge - head.size()));
    tail.append(bytes);
    if (tail.size() > 2 * kEdge) tail.erase(0, tail.size() - kEdge);
  }
};

Part inflatePart(Archive& archive, const Entry& entry) {
  const std::string local = archive.read(entry.local, 30);
  if (littleEndian(local, 0, 4) != 0x04034b50) incomplete(entry.name + " has no entry header");
  std::uint64_t at = std::uint64_t{entry.local} + 30 + littleEndian(local, 26, 2) + littleEndian(local, 28, 2);
  std::uint64_t left = entry.compressed;
  Part part;
  if (entry.method == 0) {
    for (; left > 0; left -= std::min<std::uint64_t>(left, kChunk), at += kChunk) {
      part.add(archive.read(at, static_cast<std::size_t>(std::min<std::uint64_t>(left, kChunk))));
    }
    return part;
  }
  if (entry.method != Z_DEFLATED) incomplete(entry.name + " is packed in an unknown way");
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) incomplete("no memory to read it back");
  std::string in;
  std::string out(kChunk, '\0');
  for (int rc = Z_OK; rc != Z_STREAM_END;) {
    if (stream.avail_in == 0) {
      if (left == 0) {
        inflateEnd(&stream);
        incomplete(entry.name + " ends early");
      }
      in = archive.read(at, static_cast<std::size_t>(std::min<std::uint64_t>(left, kChunk)));
      at += in.size();
      left -= in.size();
      stream.next_in = reinterpret_cast<Bytef*>(in.data());
      stream.avail_in = static_cast<uInt>(in.size());
    }
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    rc = inflate(&stream, Z_NO_FLUSH);
    if (rc != Z_OK && rc != Z_STREAM_END) {
      inflateEnd(&stream);
      incomplete(entry.name + " does not unpack");
    }
    part.add(std::string_view(out.data(), out.size() - stream.avail_out));
  }
  inflateEnd(&stream);
  return part;
}

// "<?xml …?><Types …>" gives "Types".
std::string rootOf(const std::string& head) {
  std::size_t at = 0;
  while ((at = head.find('<', at)) != std::string::npos && at + 1 < head.size() &&
         (head[at + 1] == '?' || head[at + 1] == '!')) {
    ++at;
  }
  if (at == std::string::npos) return {};
  const std::size_t end = head.find_first_of(" \t\r\n/>", at + 1);
  return end == std::string::npos ? std::string() : head.substr(at + 1, end - at - 1);
}

bool endsWithRootEndTag(const Part& part) {
  const std::string root = rootOf(part.head);
  const std::size_t last = part.tail.find_last_not_of(" \t\r\n");
  const std::string endTag = "</" + root + ">";
  return !root.empty() && last != std::string::npos && last + 1 >= endTag.size() &&
         part.tail.compare(last + 1 - endTag.size(), endTag.size(), endTag) == 0;
}

// Bytes between the sheet's <sheetData> and </sheetData>.
std::uint64_t rowBytesOf(const Part& sheet) {
  const std::size_t start = sheet.head.find(kRowsStart);
  const std::size_t end = sheet.tail.rfind(kRowsEnd);
  if (start == std::string::npos || end == std::string::npos) incomplete(std::string(kSheetPart) + " has no rows");
  const std::uint64_t endAt = sheet.size - sheet.tail.size() + end;
  const std::uint64_t startAt = start + kRowsStart.size();
  return endAt >= startAt ? endAt - startAt : 0;
}

}  // namespace

void checkWorkbook(const std::filesystem::path& path, std::uint64_t sheetDataBytes) {
  Archive archive(path);
  bool sheetSeen = false;
  for (const Entry& entry : entriesOf(archive)) {
    const Part part = inflatePart(archive, entry);
    if (part.size != entry.size || part.crc != entry.crc) incomplete(entry.name + " does not match its checksum");
    if (!endsWithRootEndTag(part)) incomplete(entry.name + " is cut short");
    if (entry.name != kSheetPart) continue;
    sheetSeen = true;
    if (rowBytesOf(part) != sheetDataBytes) incomplete(std::string(kSheetPart) + " lacks some of its rows");
  }
  if (!sheetSeen) incomplete(std::string(kSheetPart) + " is missing");
}

}  // namespace gleaner
