#include "files/native_file_writer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <limits>

#include "files/native_file_format.h"

namespace zeva::files {

namespace {

class ChunkWriter {
 public:
  ChunkWriter(ByteSink& out, Result& messages) : out_(out), messages_(messages) {}

  bool write(std::span<const std::byte> bytes) {
    const std::size_t missing = out_.write(bytes);
    if (missing == 0) return true;
    messages_.information(writeErrorMessage(out_.position(), static_cast<std::int64_t>(missing)));
    return false;
  }

  // Writes `length` bytes taken from `source`, padded with zeros should the
  // array hold fewer than its header's counts say.
  bool payload(std::span<const std::byte> source, std::int64_t length) {
    const auto fromArray = static_cast<std::size_t>(
        std::min<std::int64_t>(length, static_cast<std::int64_t>(source.size())));
    if (!write(source.first(fromArray))) return false;
    std::array<std::byte, 4096> zeros{};
    for (std::int64_t left = length - static_cast<std::int64_t>(fromArray); left > 0;) {
      const auto step = static_cast<std::size_t>(std::min<std::int64_t>(left, zeros.size()));
      if (!write(std::span(zeros).first(step))) return false;
      left -= static_cast<std::int64_t>(step);
    }
    return true;
  }

  bool chunk(const ChunkEntry& entry) {
    if (entry.length > std::numeric_limits<std::int32_t>::max()) {
      // No length field can describe it; nothing of the chunk is written.
      messages_.information(writeErrorMessage(out_.position(), entry.length));
      return false;
    }
    ChunkHeader header;
    header.tag = makeTag(entry.tag);
    header.version = entry.version;
    header.reserved = 0;
    header.length = static_cast<std::int32_t>(entry.length);
    if (!write(std::as_bytes(std::span<const ChunkHeader, 1>(&header, 1)))) return false;
    if (entry.kind != ChunkKind::Shifts) return payload(entry.bytes, entry.length);
    const std::int64_t half = entry.length / 2;
    return payload(entry.bytes, half) && payload(entry.secondBytes, half);
  }

 private:
  ByteSink& out_;
  Result& messages_;
};

}  // namespace

std::string writeErrorMessage(std::int64_t position, std::int64_t notWritten) {
  char number[32];
  std::snprintf(number, sizeof number, "%8lld", static_cast<long long>(notWritten));
  return "WRITE ERROR AT BYTE " + bytePosition(position) + ": " + number;
}

WriteResult writeNativeFile(ByteSink& out, core::CurrentSounding& current) {
  WriteResult result;
  ChunkWriter writer(out, result);
  if (!writer.write(std::as_bytes(std::span(kNativeMagic)))) return result;
  for (const ChunkEntry& entry : chunkTable(current))
    if (entry.written && !writer.chunk(entry)) return result;
  current.S.layer.saved = core::kTrue;
  result.ok = true;
  result.lastSoundingName = current.S.header.name;
  return result;
}

}  // namespace zeva::files
