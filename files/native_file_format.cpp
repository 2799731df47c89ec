#include "files/native_file_format.h"

#include <algorithm>
#include <cstdio>
#include <type_traits>

namespace zeva::files {

namespace {

using core::CurrentSounding;
using core::Matrix;
using core::Sounding;

template <typename T>
std::span<std::byte> bytesOf(T& object) {
  static_assert(std::is_trivially_copyable_v<T>);
  return std::as_writable_bytes(std::span<T, 1>(&object, 1));
}

template <typename T>
std::span<std::byte> bytesOf(std::vector<T>& values) {
  return std::as_writable_bytes(std::span<T>(values));
}

template <typename T>
std::span<std::byte> bytesOf(Matrix<T>& values) {
  return std::as_writable_bytes(values.elements());
}

// `count` elements of a matrix starting at column `column`, cut to what the
// matrix holds (a record whose header and arrays disagree never reaches past
// its arrays).
template <typename T>
std::span<std::byte> columnsFrom(Matrix<T>& values, std::size_t column, std::int64_t count) {
  const std::span<T> all = values.elements();
  const std::size_t start = std::min(all.size(), column * values.rows());
  const std::size_t wanted = static_cast<std::size_t>(std::max<std::int64_t>(count, 0));
  return std::as_writable_bytes(all.subspan(start, std::min(wanted, all.size() - start)));
}

std::int64_t nonNegative(std::int64_t count) { return std::max<std::int64_t>(count, 0); }

struct TableBuilder {
  std::vector<ChunkEntry> entries;

  ChunkEntry& add(std::string_view tag, ChunkKind kind, std::span<std::byte> bytes,
                  std::int64_t length) {
    ChunkEntry& entry = entries.emplace_back();
    entry.tag = tag;
    entry.kind = kind;
    entry.bytes = bytes;
    entry.length = length;
    return entry;
  }

  ChunkEntry& array(std::string_view tag, CountsFrom counts, std::span<std::byte> bytes,
                    std::int64_t elements, bool written = true) {
    ChunkEntry& entry = add(tag, ChunkKind::Array, bytes, 4 * nonNegative(elements));
    entry.counts = counts;
    entry.written = written;
    return entry;
  }
};

// The tags of one instance's model and result arrays.
struct ModelTags {
  std::string_view svolt, par, paru, pard, lmtp, lfix, resolv, equiva, parmin, parmax, erer, znmin,
      znmax;
};

constexpr ModelTags kWorkingTags{"S%SVOLT",  "S%M%PAR",  "S%M%PARU", "S%M%PARD", "S%M%LMTP",
                                 "S%M%LFIX", "S%RESOLV", "S%EQUIVA", "S%PARMIN", "S%PARMAX",
                                 "S%ERER",   "S%ZNMIN",  "S%ZNMAX"};
constexpr ModelTags kSmoothTags{"SM%SVOLT", "SM%M%PAR", "SM%M%PRU", "SM%M%PRD", "SM%M%LMT",
                                "SM%M%LFX", "SM%RESLV", "SM%EQUVA", "SM%PARMN", "SM%PARMX",
                                "SM%ERER",  "SM%ZNMIN", "SM%ZNMAX"};

void addModelChunks(TableBuilder& table, Sounding& s, const ModelTags& tags, CountsFrom model,
                    std::int64_t dataValues, bool present) {
  const std::int64_t npar = s.model.NPAR;
  const std::int64_t nlayer = s.model.NLAYER;
  const bool resolution = present && core::isSet(s.layer.resolutionValid);
  const bool equivalence = present && core::isSet(s.layer.equivalenceValid);

  table.array(tags.svolt, CountsFrom::DataHeader, bytesOf(s.SVOLT), dataValues, present);
  table.array(tags.par, model, bytesOf(s.M.PAR), npar, present);
  table.array(tags.paru, model, bytesOf(s.M.PARU), npar, present);
  table.array(tags.pard, model, bytesOf(s.M.PARD), npar, present);
  table.array(tags.lmtp, model, bytesOf(s.M.LMTP), npar, present);
  table.array(tags.lfix, model, bytesOf(s.M.LFIX), npar, present);
  table.array(tags.resolv, model, bytesOf(s.RESOLV), resolutionCount(nonNegative(npar)), resolution)
      .onDemand = true;
  table
      .array(tags.equiva, model, bytesOf(s.EQUIVA), equivalenceCount(nonNegative(npar)),
             equivalence)
      .onDemand = true;
  table.array(tags.parmin, model, bytesOf(s.PARMIN), npar, equivalence);
  table.array(tags.parmax, model, bytesOf(s.PARMAX), npar, equivalence);
  table.array(tags.erer, model, bytesOf(s.ERER), 2 * nonNegative(npar), equivalence);
  table.array(tags.znmin, model, bytesOf(s.ZNMIN), nlayer, equivalence);
  table.array(tags.znmax, model, bytesOf(s.ZNMAX), nlayer, equivalence);
}

}  // namespace

Tag makeTag(std::string_view text) {
  Tag tag;
  tag.fill(' ');
  std::copy_n(text.begin(), std::min(text.size(), tag.size()), tag.begin());
  return tag;
}

std::string displayTag(const Tag& tag) {
  std::string text(tag.begin(), tag.end());
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e) c = '?';
  return text;
}

std::int64_t resolutionCount(std::int64_t npar) { return npar * (npar + 1) / 2; }
std::int64_t equivalenceCount(std::int64_t npar) { return 2 * npar * npar; }

std::string bytePosition(std::int64_t position) {
  char text[32];
  std::snprintf(text, sizeof text, "%08lld", static_cast<long long>(position));
  return text;
}

std::vector<ChunkEntry> chunkTable(CurrentSounding& current) {
  Sounding& S = current.S;
  Sounding& SM = current.SM;
  core::SoundingData& d = S.data();
  const core::DataHeader& h = S.header;
  const std::int64_t ndata = nonNegative(h.NDATA);
  const std::int64_t ncomp = nonNegative(h.NCOMP);
  const std::int64_t nsets = nonNegative(h.NSETS);
  const std::int64_t nshift = nonNegative(h.NSHIFT);
  const std::int64_t dataValues = ndata * ncomp;
  const bool voltageAndCurrent = core::isSet(h.voltageAndCurrent);

  TableBuilder table;
  table.entries.reserve(64);
  table.add("DATAHEAD", ChunkKind::DataHeader, bytesOf(S.header), sizeof(core::DataHeader));
  table.add("LAYRHEAD", ChunkKind::LayerHeader, bytesOf(S.layer), sizeof(core::LayerHeader));
  table.add("SMOOHEAD", ChunkKind::LayerHeader, bytesOf(SM.layer), sizeof(core::LayerHeader))
      .instance = 1;
  table.add("MODLHEAD", ChunkKind::ModelHeader, bytesOf(S.model), sizeof(core::ModelHeader));
  table.add("SMOOMODL", ChunkKind::ModelHeader, bytesOf(SM.model), sizeof(core::ModelHeader))
      .instance = 1;
  table.add("MODONDAT", ChunkKind::Block, bytesOf(current.modelOnData), sizeof(core::Logical));
  table.add("INVRTPAR", ChunkKind::Block, bytesOf(current.settings),
            sizeof(core::InversionSettings));
  constexpr auto kFrameBytes = static_cast<std::int64_t>(sizeof(core::GraphFrame));
  table.add("DATAAXS1", ChunkKind::Block, bytesOf(current.dataFrames[0]), kFrameBytes);
  table.add("DATAAXS2", ChunkKind::Block, bytesOf(current.dataFrames[1]), kFrameBytes);
  table.add("MODLAXS1", ChunkKind::Block, bytesOf(current.modelFrames[0]), kFrameBytes);
  table.add("MODLAXS2", ChunkKind::Block, bytesOf(current.modelFrames[1]), kFrameBytes).version = 2;

  table.array("LOGDAT", CountsFrom::DataHeader, bytesOf(d.LOGDAT), ncomp);
  table.array("KCALC", CountsFrom::DataHeader, bytesOf(d.KCALC), nsets);
  table.array("NSET", CountsFrom::DataHeader, bytesOf(d.NSET), nsets);
  table.array("AMPS", CountsFrom::DataHeader, bytesOf(d.AMPS), nsets);
  table.array("NTURNS", CountsFrom::DataHeader, bytesOf(d.NTURNS), nsets);
  table.array("RAMP", CountsFrom::DataHeader, bytesOf(d.RAMP), nsets);
  table.array("FREQ", CountsFrom::DataHeader, bytesOf(d.FREQ), nsets);
  table.array("AREA", CountsFrom::DataHeader, bytesOf(d.AREA), nsets);
  table.array("TSHIFT", CountsFrom::DataHeader, bytesOf(d.TSHIFT), nsets);
  table.array("TIME", CountsFrom::DataHeader, bytesOf(d.TIME), ndata * nonNegative(h.NGEOM));
  table.array("VOLTS", CountsFrom::DataHeader, columnsFrom(d.VOLTS, 0, dataValues), dataValues);
  table.array("VOLTAGE", CountsFrom::DataHeader, columnsFrom(d.VOLTS, 1, dataValues), dataValues,
              voltageAndCurrent);
  table.array("CURRENT", CountsFrom::DataHeader, columnsFrom(d.VOLTS, 2, dataValues), dataValues,
              voltageAndCurrent);
  ChunkEntry& shifts =
      table.array("SHIFTS", CountsFrom::DataHeader, bytesOf(d.shiftBreak), 2 * nshift, nshift > 0);
  shifts.kind = ChunkKind::Shifts;
  shifts.secondBytes = bytesOf(d.shiftFactor);
  table.array("LMASK", CountsFrom::DataHeader, bytesOf(d.LMASK), dataValues);
  table.array("UVOLTS", CountsFrom::DataHeader, bytesOf(d.UVOLTS), dataValues);

  addModelChunks(table, S, kWorkingTags, CountsFrom::ModelOfS, dataValues, true);
  const std::size_t firstSmooth = table.entries.size();
  addModelChunks(table, SM, kSmoothTags, CountsFrom::ModelOfSM, dataValues, SM.model.NPAR > 0);
  for (std::size_t i = firstSmooth; i < table.entries.size(); ++i) table.entries[i].instance = 1;

  table.add("ENDFILE", ChunkKind::End, {}, 0);
  return std::move(table.entries);
}

}  // namespace zeva::files
