#include "files/native_file_reader.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <new>
#include <optional>
#include <string>

#include "files/native_file_format.h"

namespace zeva::files {

namespace {

using core::CurrentSounding;
using core::Sounding;

// Arrays allocated from a header's counts may take at most this many times the
// bytes left in the file, plus a small allowance. A file from the writer needs
// at most 1.25 times its remaining bytes for its data arrays (the synthetics of
// S and SM are allocated whether stored or not) and 2.2 times for a model's
// linear arrays, so only counts no file of this size could fill are refused.
constexpr std::int64_t kAllocationFactor = 4;
constexpr std::int64_t kAllocationAllowance = 64 * 1024;
// All allocations of one read together may take at most this many times the
// file's size, plus a few allowances: a file that repeats its header chunks
// cannot make the reader allocate (and clear) the rest of the file's worth
// again for every copy, which made reading time grow with the square of the
// file's size. The writer's files need less than a quarter of this.
constexpr std::int64_t kTotalAllocationFactor = 16;
constexpr std::int64_t kTotalAllocationAllowance = 4 * kAllocationAllowance;
// The largest model whose equivalence chunk (2 NPAR x NPAR reals) a 32-bit
// length can describe.
constexpr std::int32_t kMaxParameters = 16383;

enum class Step { Next, Finished, Failed };

template <typename T>
std::span<std::byte> bytesOf(T& object) {
  return std::as_writable_bytes(std::span<T, 1>(&object, 1));
}

bool sameTag(const Tag& tag, std::string_view name) { return tag == makeTag(name); }

class Reader {
 public:
  Reader(ByteSource& in, CurrentSounding& current, std::string_view fileName)
      : in_(in), current_(current), fileName_(fileName) {}

  ReadResult run() {
    std::array<std::byte, kTagBytes> start{};
    if (in_.read(start) != 0) {
      readError(lastTag_);
      return result_;
    }
    const std::string_view magic(reinterpret_cast<const char*>(start.data()), start.size());
    bool tagAlreadyRead = false;
    ChunkHeader header;
    if (magic == kHeaderlessStart) {
      std::memcpy(header.tag.data(), start.data(), kTagBytes);
      tagAlreadyRead = true;
    } else if (magic != kNativeMagic && magic != kOlderMagic) {
      result_.information("File is not Kelvorin Resistivity file: \n" + std::string(fileName_));
      return result_;
    }

    for (;;) {
      if (!readChunkHeader(header, tagAlreadyRead)) return result_;
      tagAlreadyRead = false;
      switch (chunk(header)) {
        case Step::Next:
          break;
        case Step::Finished:
          result_.ok = true;
          result_.lastSoundingName = current_.S.header.name;
          return result_;
        case Step::Failed:
          return result_;
      }
    }
  }

 private:
  bool readChunkHeader(ChunkHeader& header, bool tagAlreadyRead) {
    std::array<std::byte, kChunkHeaderBytes> raw{};
    const std::size_t first = tagAlreadyRead ? kTagBytes : 0;
    if (tagAlreadyRead) std::memcpy(raw.data(), header.tag.data(), kTagBytes);
    const std::size_t missing = in_.read(std::span(raw).subspan(first));
    if (missing != 0) {
      Tag partial = lastTag_;
      if (raw.size() - missing >= kTagBytes) std::memcpy(partial.data(), raw.data(), kTagBytes);
      readError(partial);
      return false;
    }
    std::memcpy(&header, raw.data(), raw.size());
    return true;
  }

  Step chunk(const ChunkHeader& header) {
    tag_ = header.tag;
    if (header.length < 0) {  // neither readable nor skippable
      readError(tag_);
      return Step::Failed;
    }
    const std::int64_t length = header.length;

    if (sameTag(tag_, "DATAAXES")) return block(bytesOf(current_.dataFrames), length);
    if (sameTag(tag_, "MODLAXES")) return block(bytesOf(current_.modelFrames), length);

    const std::optional<ChunkEntry> found = entryFor(tag_);
    if (!found) return unknown(length);
    const ChunkEntry& entry = *found;

    switch (entry.kind) {
      case ChunkKind::DataHeader:
      case ChunkKind::LayerHeader:
      case ChunkKind::ModelHeader:
        if (header.version != 1) {
          result_.information("SKIPPING NEW VERSION: " + displayTag(tag_));
          return skip(length) ? Step::Next : Step::Failed;
        }
        if (entry.kind == ChunkKind::DataHeader) return dataHeader(length);
        if (entry.kind == ChunkKind::ModelHeader) return modelHeader(entry.instance, length);
        return layerHeader(entry.instance, length);
      case ChunkKind::Block:
        return block(entry.bytes, length);
      case ChunkKind::Array:
      case ChunkKind::Shifts:
        return array(entry, length);
      case ChunkKind::End:
        return Step::Finished;
    }
    return Step::Failed;
  }

  // The table entry a tag stands for; "VOLTAGE" and "CURRENT" are known only
  // when the data header says the sounding has voltage and current.
  std::optional<ChunkEntry> entryFor(const Tag& tag) {
    const Tag wanted = sameTag(tag, "SM%EQUIV") ? makeTag("SM%EQUVA") : tag;
    if (tableStale_) {
      table_ = chunkTable(current_);
      tableStale_ = false;
    }
    for (const ChunkEntry& entry : table_) {
      if (!sameTag(wanted, entry.tag)) continue;
      if ((entry.tag == "VOLTAGE" || entry.tag == "CURRENT") &&
          !core::isSet(current_.S.header.voltageAndCurrent))
        return std::nullopt;
      return entry;
    }
    return std::nullopt;
  }

  Step unknown(std::int64_t length) {
    result_.warning("DON'T KNOW HOW TO READ " + displayTag(tag_) + " LAST SUCCESSFUL READ WAS " +
                    displayTag(lastTag_));
    return skip(length) ? Step::Next : Step::Failed;
  }

  Step block(std::span<std::byte> object, std::int64_t length) {
    if (!readInto({object}, length)) return Step::Failed;
    return done();
  }

  Step layerHeader(int instance, std::int64_t length) {
    core::LayerHeader layer = soundingOf(instance).layer;
    if (!readInto({bytesOf(layer)}, length)) return Step::Failed;
    soundingOf(instance).layer = layer;
    return done();
  }

  // The data header is read into a copy and takes effect with its arrays, so
  // a torn or refused header never describes arrays of other sizes.
  Step dataHeader(std::int64_t length) {
    Sounding& S = current_.S;
    core::DataHeader header = S.header;
    header.plotCount = 1;  // what a shorter, older header leaves
    header.shiftMode = 1;
    header.shiftTarget = 2;
    if (!readInto({bytesOf(header)}, length)) return Step::Failed;

    const core::DataCounts counts = core::DataCounts::of(header);
    if (!counts.valid() || !affordable(counts.bytes()) || !spend(counts.bytes()))
      return allocationError();
    Sounding fresh;
    fresh.header = header;
    if (!fresh.allocateData()) return allocationError();  // every NTURNS starts at 1
    S.header = header;
    S.data() = std::move(fresh.data());
    S.SVOLT = std::move(fresh.SVOLT);
    S.shareDataWith(current_.SM);
    dataHeaderRead_ = true;
    tableStale_ = true;
    return done();
  }

  Step modelHeader(int instance, std::int64_t length) {
    Sounding& s = soundingOf(instance);
    core::ModelHeader model = s.model;
    if (!readInto({bytesOf(model)}, length)) return Step::Failed;

    if (model.NPAR < 0 || model.NPAR > kMaxParameters || model.NPK < 0 ||
        model.NPK > kMaxParameters || (model.NPK == 0 && model.NPAR > 0))
      return allocationError();
    const core::ModelHeader before = s.model;
    s.model = model;
    s.repairLayerCount();
    model = s.model;
    s.model = before;
    if (model.NLAYER < 0) return allocationError();
    // Parameters beyond those of the layers belong to none of them.
    if (model.NPAR > 0) model.NPAR = core::parameterCount(model.NLAYER, model.NPK);

    const std::int64_t npar = model.NPAR;
    const std::int64_t linearBytes = 4 * (9 * npar + 2 * std::int64_t{model.NLAYER});
    if (!affordable(linearBytes)) return allocationError();
    const std::int64_t quadraticBytes = 4 * (resolutionCount(npar) + equivalenceCount(npar));
    const bool withMatrices = affordable(linearBytes + quadraticBytes);
    if (!spend(linearBytes + (withMatrices ? quadraticBytes : 0)) ||
        !allocateModel(s, model, withMatrices))
      return allocationError();
    modelRead_[static_cast<std::size_t>(instance)] = true;
    tableStale_ = true;
    return done();
  }

  // Sizes the model and its linear result arrays; the resolution and
  // equivalence matrices too when `withMatrices`, else they wait for their chunks.
  static bool allocateModel(Sounding& s, const core::ModelHeader& model, bool withMatrices) {
    const auto npar = static_cast<std::size_t>(model.NPAR);
    const auto nlayer = static_cast<std::size_t>(model.NLAYER);
    try {
      core::LayeredModel M;
      M.PAR.assign(npar, 0.0f);
      M.PARU.assign(npar, 0.0f);
      M.PARD.assign(npar, 0.0f);
      M.LFIX.assign(npar, core::kFalse);
      M.LMTP.assign(npar, core::kFalse);
      std::vector<float> parmin(npar), parmax(npar), erer(2 * npar), znmin(nlayer), znmax(nlayer);
      std::vector<float> resolv;
      core::Matrix<float> equiva;
      if (withMatrices) {
        resolv.assign(static_cast<std::size_t>(resolutionCount(model.NPAR)), 0.0f);
        equiva.resize(2 * npar, npar);
      }
      s.model = model;
      s.M = std::move(M);
      s.PARMIN = std::move(parmin);
      s.PARMAX = std::move(parmax);
      s.ERER = std::move(erer);
      s.ZNMIN = std::move(znmin);
      s.ZNMAX = std::move(znmax);
      s.RESOLV = std::move(resolv);
      s.EQUIVA = std::move(equiva);
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }

  Step array(ChunkEntry entry, std::int64_t length) {
    const bool countsKnown = entry.counts == CountsFrom::DataHeader ? dataHeaderRead_
                             : entry.counts == CountsFrom::ModelOfS ? modelRead_[0]
                                                                    : modelRead_[1];
    // Its header was not read from this file (missing, skipped or later):
    // nothing says how large the array is.
    if (!countsKnown) return unknown(length);

    if (entry.onDemand && entry.bytes.empty() && entry.length > 0) {
      if (!affordable(entry.length) || !spend(entry.length) ||
          !allocateMatrix(soundingOf(entry.instance), entry))
        return allocationError();
      tableStale_ = true;
      entry = *entryFor(tag_);
    }
    const bool read = entry.kind == ChunkKind::Shifts
                          ? readInto({entry.bytes, entry.secondBytes}, length)
                          : readInto({entry.bytes}, length);
    // Also after a torn chunk: what was read of it stays in the record.
    if (entry.tag == "NSET") keepSetEndsWithinTheData();
    return read ? done() : Step::Failed;
  }

  // A set end before the first or past the last reading names no reading;
  // it is taken as the nearest end the data have.
  void keepSetEndsWithinTheData() {
    const std::int32_t readings = std::max<std::int32_t>(current_.S.header.NDATA, 0);
    for (std::int32_t& end : current_.S.data().NSET) end = std::clamp(end, 0, readings);
  }

  static bool allocateMatrix(Sounding& s, const ChunkEntry& entry) {
    const auto npar = static_cast<std::size_t>(s.model.NPAR);
    try {
      if (entry.tag.ends_with("EQUVA") || entry.tag.ends_with("EQUIVA"))
        s.EQUIVA.resize(2 * npar, npar);
      else
        s.RESOLV.assign(static_cast<std::size_t>(resolutionCount(s.model.NPAR)), 0.0f);
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }

  // Reads the payload into the objects one after the other, at most their
  // sizes, and skips what is left of a longer payload.
  bool readInto(std::initializer_list<std::span<std::byte>> objects, std::int64_t length) {
    std::int64_t left = length;
    for (std::span<std::byte> object : objects) {
      const auto count = static_cast<std::size_t>(
          std::min<std::int64_t>(left, static_cast<std::int64_t>(object.size())));
      if (in_.read(object.first(count)) != 0) {
        readError(tag_);
        return false;
      }
      left -= static_cast<std::int64_t>(count);
    }
    return skip(left);
  }

  bool skip(std::int64_t count) {
    if (in_.skip(count)) return true;
    readError(tag_);
    return false;
  }

  Step done() {
    lastTag_ = tag_;
    result_.recordChanged = true;
    return Step::Next;
  }

  bool affordable(std::int64_t bytes) const {
    return bytes <=
           kAllocationFactor * std::max<std::int64_t>(in_.remaining(), 0) + kAllocationAllowance;
  }

  // Counts `bytes` against the budget of the whole read; false when spent.
  bool spend(std::int64_t bytes) {
    allocated_ += bytes;
    return allocated_ <= kTotalAllocationFactor * std::max<std::int64_t>(in_.size(), 0) +
                             kTotalAllocationAllowance;
  }

  Step allocationError() {
    result_.information("UNABLE TO ALLOCATE ARRAYS AT BYTE " + bytePosition(in_.position()) +
                        "\nWHILE READING " + displayTag(tag_));
    return Step::Failed;
  }

  void readError(const Tag& tag) {
    result_.information("READ ERROR OR END OF FILE AT BYTE " + bytePosition(in_.position()) +
                        "\nWHILE READING " + displayTag(tag));
  }

  Sounding& soundingOf(int instance) { return instance == 0 ? current_.S : current_.SM; }

  ByteSource& in_;
  CurrentSounding& current_;
  std::string_view fileName_;
  Tag tag_ = makeTag("NOTHING");
  Tag lastTag_ = makeTag("NOTHING");
  bool dataHeaderRead_ = false;
  std::int64_t allocated_ = 0;
  std::array<bool, 2> modelRead_{};
  // The chunk table points into the record's arrays; it is built again after
  // a header chunk or an allocation moved them.
  std::vector<ChunkEntry> table_;
  bool tableStale_ = true;
  ReadResult result_;
};

}  // namespace

ReadResult readNativeFile(ByteSource& in, CurrentSounding& current, std::string_view fileName) {
  return Reader(in, current, fileName).run();
}

}  // namespace zeva::files
