#include "support/ZipEntries.h"

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <iterator>

namespace gleaner::testing {
namespace {

std::uint32_t le(const std::string& s, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
  return v;
}

bool inflateRaw(const std::string& in, std::size_t size, std::string& out) {
  z_stream z{};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
  z.avail_in = static_cast<uInt>(in.size());
  out.resize(size);
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(size);
  const int rc = inflate(&z, Z_FINISH);
  inflateEnd(&z);
  return rc == Z_STREAM_END;
}

}  // namespace

std::map<std::string, std::string> readZipEntries(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string zip((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::map<std::string, std::string> entries;
  // The end-of-central-directory record is in the last 64 KiB + 22 bytes.
  const std::size_t eocd = zip.rfind(std::string("PK\x05\x06", 4));
  if (zip.size() < 22 || eocd == std::string::npos) return entries;
  const std::uint32_t count = le(zip, eocd + 10, 2);
  std::size_t at = le(zip, eocd + 16, 4);
  for (std::uint32_t i = 0; i < count; ++i) {
    if (at + 46 > zip.size() || le(zip, at, 4) != 0x02014b50) return {};
    const std::uint32_t method = le(zip, at + 10, 2);
    const std::uint32_t compressed = le(zip, at + 20, 4);
    const std::uint32_t size = le(zip, at + 24, 4);
    const std::uint32_t nameLength = le(zip, at + 28, 2);
    const std::uint32_t extraLength = le(zip, at + 30, 2);
    const std::uint32_t commentLength = le(zip, at + 32, 2);
    const std::uint32_t local = le(zip, at + 42, 4);
    const std::string name = zip.substr(at + 46, nameLength);
    const std::size_t data = local + 30 + le(zip, local + 26, 2) + le(zip, local + 28, 2);
    const std::string raw = zip.substr(data, compressed);
    std::string contents;
    if (method == 0) {
      contents = raw;
    } else if (method != 8 || !inflateRaw(raw, size, contents)) {
      return {};
    }
    entries[name] = contents;
    at += 46 + nameLength + extraLength + commentLength;
  }
  return entries;
}

}  // namespace gleaner::testing
