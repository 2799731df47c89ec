#pragma once
// The layout of the native sounding file (.ZVR): an 8-byte magic, then tagged,
// length-prefixed chunks, each the raw little-endian memory image of one
// header block or one array of the current sounding. The chunk table below is
// shared by the writer (which walks it in order) and the reader (which looks
// tags up in it), so both always agree on tags, targets and lengths.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/record/current_sounding.h"

namespace zeva::files {

// The file stores memory images without byte swapping.
static_assert(std::endian::native == std::endian::little,
              "the native sounding file is little-endian and read without byte swapping");

inline constexpr std::string_view kNativeMagic = "ZEVA    ";
inline constexpr std::string_view kOlderMagic = "ZVRes   ";
inline constexpr std::string_view kHeaderlessStart =
    "MAINHEAD";  // oldest files: chunks from byte 0
inline constexpr std::size_t kTagBytes = 8;
inline constexpr std::size_t kChunkHeaderBytes = 20;

using Tag = std::array<char, kTagBytes>;

// Pads a tag with blanks to 8 characters.
Tag makeTag(std::string_view text);
// A tag as it appears in messages: 8 characters, unprintable bytes shown as '?'.
std::string displayTag(const Tag& tag);

// The 20-byte chunk header: tag, version, reserved word, payload length.
struct ChunkHeader {
  Tag tag{};
  std::int32_t version = 1;
  std::int32_t reserved = 0;
  std::int32_t length = 0;
};
static_assert(sizeof(ChunkHeader) == kChunkHeaderBytes);

enum class ChunkKind {
  DataHeader,   // data header of S
  LayerHeader,  // layer header of S or SM
  ModelHeader,  // model header of S or SM
  Block,        // plot frames, the model-on-data switch, the inversion settings
  Array,        // one array, sized from a header's counts
  Shifts,       // the two SHIFTS arrays in one chunk: break indices, then factors
  End,
};

// The header whose counts size a chunk's array; the reader takes an array
// chunk only after that header was read from the same file.
enum class CountsFrom { None, DataHeader, ModelOfS, ModelOfSM };

struct ChunkEntry {
  std::string_view tag;
  ChunkKind kind = ChunkKind::Array;
  CountsFrom counts = CountsFrom::None;
  int instance = 0;                  // 0: S, 1: SM (header and model chunks)
  std::span<std::byte> bytes;        // the object as it is in memory
  std::span<std::byte> secondBytes;  // SHIFTS: the factors
  std::int64_t length = 0;           // payload length the counts give
  bool written = true;               // the writer writes it for this sounding
  bool onDemand = false;             // RESOLV and EQUIVA: sized when their chunk arrives
  std::int32_t version = 1;
};

// Every chunk of the writer's table, in the order it writes them, pointing at
// the memory of `current` as it is now (the spans change when arrays are
// reallocated, so the table is rebuilt after each reallocation).
std::vector<ChunkEntry> chunkTable(core::CurrentSounding& current);

// Sizes of the result arrays of a model with `npar` parameters.
std::int64_t resolutionCount(std::int64_t npar);
std::int64_t equivalenceCount(std::int64_t npar);

// Byte positions in messages: eight digits, zero-padded.
std::string bytePosition(std::int64_t position);

}  // namespace zeva::files
