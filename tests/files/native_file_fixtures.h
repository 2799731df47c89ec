#pragma once
// Helpers of the native-file tests: a byte builder for hand-made files, a
// sounding whose every header byte carries a pattern and whose arrays hold
// distinct values, and checks that a record's arrays agree with its counts.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/record/current_sounding.h"

namespace zeva::files::testing {

template <typename T>
std::string bytesOf(const T& object) {
  static_assert(std::is_trivially_copyable_v<T>);
  return std::string(reinterpret_cast<const char*>(&object), sizeof(T));
}

template <typename T>
std::string bytesOf(const std::vector<T>& values) {
  return std::string(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T));
}

inline std::string int32Bytes(std::int32_t value) { return bytesOf(value); }

// Builds a file chunk by chunk, as a writer of any version might have.
class FileBuilder {
 public:
  explicit FileBuilder(std::string_view magic = "ZEVA    ") : bytes_(magic) {}

  // A chunk whose length field is the payload's size unless given.
  FileBuilder& chunk(std::string_view tag, const std::string& payload, std::int32_t version = 1,
                     std::optional<std::int32_t> length = std::nullopt) {
    std::string padded(tag);
    padded.resize(8, ' ');
    bytes_ += padded;
    bytes_ += int32Bytes(version);
    bytes_ += int32Bytes(0);
    bytes_ += int32Bytes(length.value_or(static_cast<std::int32_t>(payload.size())));
    bytes_ += payload;
    return *this;
  }
  FileBuilder& end() { return chunk("ENDFILE", ""); }

  const std::string& bytes() const { return bytes_; }
  std::size_t size() const { return bytes_.size(); }

 private:
  std::string bytes_;
};

// Fills every byte of a block with a pattern that differs from block to block,
// so that a byte moved, lost or zeroed anywhere shows.
template <typename T>
void fillPattern(T& block, unsigned seed) {
  static_assert(std::is_trivially_copyable_v<T>);
  auto* bytes = reinterpret_cast<unsigned char*>(&block);
  for (std::size_t i = 0; i < sizeof(T); ++i)
    bytes[i] = static_cast<unsigned char>((i * 37u + seed * 101u + 11u) & 0xffu);
}

struct SoundingShape {
  const char* name = "";
  bool voltageAndCurrent = false;
  bool shifts = false;
  bool resolution = false;
  bool equivalence = false;
  bool smooth = false;
  int ncomp = 1;
};

inline void PrintTo(const SoundingShape& shape, std::ostream* out) { *out << shape.name; }

template <typename T>
void fillDistinct(std::span<T> values, float start) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    if constexpr (std::is_floating_point_v<T>)
      values[i] = start + 0.25f * static_cast<float>(i);
    else
      values[i] = static_cast<T>(start) + static_cast<T>(i) * 3 - 7;
  }
}
template <typename T>
void fillDistinct(std::vector<T>& values, float start) {
  fillDistinct(std::span<T>(values), start);
}
template <typename T>
void fillDistinct(core::Matrix<T>& values, float start) {
  fillDistinct(values.elements(), start);
}

// Model and result arrays of one instance with distinct values.
inline void fillModel(core::Sounding& s, int nlayer, int npk, float start) {
  s.model.NLAYER = nlayer;
  s.model.NPK = npk;
  s.model.NPAR = core::parameterCount(nlayer, npk);
  ASSERT_TRUE(s.allocateModelForStoredCounts());
  for (auto* values : {&s.M.PAR, &s.M.PARU, &s.M.PARD, &s.RESOLV, &s.PARMIN, &s.PARMAX, &s.ERER,
                       &s.ZNMIN, &s.ZNMAX}) {
    fillDistinct(*values, start);
    start += 1000.0f;
  }
  fillDistinct(s.M.LFIX, start);
  fillDistinct(s.M.LMTP, start + 50);
  fillDistinct(s.EQUIVA, start + 100);
}

// A sounding of the given shape with patterns in every header byte (kept
// words included) and distinct values in every array element.
inline void makeSounding(core::CurrentSounding& current, const SoundingShape& shape) {
  using core::kFalse;
  using core::kTrue;
  core::Sounding& S = current.S;
  core::Sounding& SM = current.SM;
  fillPattern(S.header, 1);
  S.header.NDATA = 9;
  S.header.NCOMP = shape.ncomp;
  S.header.NGEOM = 2;
  S.header.NSETS = 3;
  S.header.NSHIFT = shape.shifts ? 2 : 0;
  S.header.voltageAndCurrent = shape.voltageAndCurrent ? 0x5a5a5a5b : 0x5a5a5a5a;  // lowest bit
  ASSERT_TRUE(S.allocateData());
  core::SoundingData& d = S.data();
  fillDistinct(d.TIME, 1.5f);
  fillDistinct(d.VOLTS, 100.0f);
  fillDistinct(d.UVOLTS, 200.0f);
  fillDistinct(d.LMASK, 300.0f);
  fillDistinct(d.LOGDAT, 400.0f);
  float start = 500.0f;
  for (auto* values : {&d.AMPS, &d.RAMP, &d.FREQ, &d.AREA, &d.TSHIFT})
    fillDistinct(*values, start += 10);
  for (auto* values : {&d.KCALC, &d.NTURNS}) fillDistinct(*values, start += 10);
  d.NSET = {3, 6, 9};  // set ends within the readings, as the reader keeps them
  fillDistinct(d.shiftBreak, 4.0f);
  fillDistinct(d.shiftFactor, 0.5f);
  fillDistinct(S.SVOLT, 600.0f);

  fillPattern(S.layer, 2);
  S.layer.resolutionValid = shape.resolution ? kTrue : kFalse;
  S.layer.equivalenceValid = shape.equivalence ? kTrue : kFalse;
  fillPattern(S.model, 3);
  fillModel(S, 4, 2, 700.0f);

  fillPattern(SM.layer, 4);
  SM.layer.resolutionValid = shape.smooth && shape.resolution ? kTrue : kFalse;
  SM.layer.equivalenceValid = shape.smooth && shape.equivalence ? kTrue : kFalse;
  fillPattern(SM.model, 5);
  if (shape.smooth) {
    fillModel(SM, 12, 1, 9000.0f);
  } else {
    SM.model.NLAYER = 0;
    SM.model.NPK = 1;
    SM.model.NPAR = 0;
    ASSERT_TRUE(SM.allocateModelForStoredCounts());
  }
  S.shareDataWith(SM);
  fillDistinct(SM.SVOLT, 800.0f);

  fillPattern(current.dataFrames, 6);
  fillPattern(current.modelFrames, 7);
  fillPattern(current.settings, 8);
  current.modelOnData = 0x01020304;
}

template <typename T>
::testing::AssertionResult sameBytes(const T& expected, const T& actual, const char* what) {
  if (std::memcmp(&expected, &actual, sizeof(T)) == 0) return ::testing::AssertionSuccess();
  const auto* a = reinterpret_cast<const unsigned char*>(&expected);
  const auto* b = reinterpret_cast<const unsigned char*>(&actual);
  std::size_t i = 0;
  while (a[i] == b[i]) ++i;
  return ::testing::AssertionFailure() << what << " differs first at byte " << i;
}

inline void expectSameModel(const core::Sounding& expected, const core::Sounding& actual,
                            bool resolution, bool equivalence) {
  EXPECT_TRUE(sameBytes(expected.model, actual.model, "model header"));
  EXPECT_EQ(expected.M.PAR, actual.M.PAR);
  EXPECT_EQ(expected.M.PARU, actual.M.PARU);
  EXPECT_EQ(expected.M.PARD, actual.M.PARD);
  EXPECT_EQ(expected.M.LFIX, actual.M.LFIX);
  EXPECT_EQ(expected.M.LMTP, actual.M.LMTP);
  if (resolution) {
    EXPECT_EQ(expected.RESOLV, actual.RESOLV);
  }
  if (equivalence) {
    EXPECT_EQ(expected.EQUIVA, actual.EQUIVA);
    EXPECT_EQ(expected.PARMIN, actual.PARMIN);
    EXPECT_EQ(expected.PARMAX, actual.PARMAX);
    EXPECT_EQ(expected.ERER, actual.ERER);
    EXPECT_EQ(expected.ZNMIN, actual.ZNMIN);
    EXPECT_EQ(expected.ZNMAX, actual.ZNMAX);
  }
}

// Every header block, frame, setting and array element of `expected` is in
// `actual` (result arrays only where the shape says the file stores them).
inline void expectSameSounding(const core::CurrentSounding& expected,
                               const core::CurrentSounding& actual, const SoundingShape& shape) {
  EXPECT_TRUE(sameBytes(expected.S.header, actual.S.header, "data header"));
  EXPECT_TRUE(sameBytes(expected.S.header, actual.SM.header, "data header of SM"));
  EXPECT_TRUE(sameBytes(expected.S.layer, actual.S.layer, "layer header"));
  EXPECT_TRUE(sameBytes(expected.SM.layer, actual.SM.layer, "smooth layer header"));
  EXPECT_TRUE(sameBytes(expected.dataFrames, actual.dataFrames, "data frames"));
  EXPECT_TRUE(sameBytes(expected.modelFrames, actual.modelFrames, "model frames"));
  EXPECT_TRUE(sameBytes(expected.settings, actual.settings, "inversion settings"));
  EXPECT_EQ(expected.modelOnData, actual.modelOnData);

  const core::SoundingData& e = expected.S.data();
  const core::SoundingData& a = actual.S.data();
  EXPECT_EQ(e.TIME, a.TIME);
  if (shape.voltageAndCurrent) {
    EXPECT_EQ(e.VOLTS, a.VOLTS);
  } else {
    EXPECT_TRUE(std::ranges::equal(e.VOLTS.elements(), a.VOLTS.elements()));
  }
  EXPECT_EQ(e.UVOLTS, a.UVOLTS);
  EXPECT_EQ(e.LMASK, a.LMASK);
  EXPECT_EQ(e.LOGDAT, a.LOGDAT);
  EXPECT_EQ(e.KCALC, a.KCALC);
  EXPECT_EQ(e.NSET, a.NSET);
  EXPECT_EQ(e.AMPS, a.AMPS);
  EXPECT_EQ(e.NTURNS, a.NTURNS);
  EXPECT_EQ(e.RAMP, a.RAMP);
  EXPECT_EQ(e.FREQ, a.FREQ);
  EXPECT_EQ(e.AREA, a.AREA);
  EXPECT_EQ(e.TSHIFT, a.TSHIFT);
  EXPECT_EQ(e.shiftBreak, a.shiftBreak);
  EXPECT_EQ(e.shiftFactor, a.shiftFactor);
  EXPECT_EQ(expected.S.SVOLT, actual.S.SVOLT);
  expectSameModel(expected.S, actual.S, shape.resolution, shape.equivalence);
  if (shape.smooth) {
    EXPECT_EQ(expected.SM.SVOLT, actual.SM.SVOLT);
    expectSameModel(expected.SM, actual.SM, shape.resolution, shape.equivalence);
  }
  EXPECT_TRUE(actual.SM.sharesDataWith(actual.S));
}

// The arrays of both instances have the sizes their headers' counts give, and
// SM shares the data of S with a copy of its data header.
inline ::testing::AssertionResult countsMatchArrays(const core::CurrentSounding& current) {
  const core::Sounding& S = current.S;
  const core::DataHeader& h = S.header;
  const core::SoundingData& d = S.data();
  auto fail = [](const char* what) { return ::testing::AssertionFailure() << what; };
  if (!current.SM.sharesDataWith(S)) return fail("SM does not share the data of S");
  if (std::memcmp(&h, &current.SM.header, sizeof h) != 0) return fail("SM data header differs");
  if (h.NDATA < 0 || h.NCOMP < 0 || h.NGEOM < 0 || h.NSETS < 0 || h.NSHIFT < 0)
    return fail("negative data count");
  const auto ndata = static_cast<std::size_t>(h.NDATA);
  const auto ncomp = static_cast<std::size_t>(h.NCOMP);
  const auto nsets = static_cast<std::size_t>(h.NSETS);
  const std::size_t voltsColumns = ncomp + (core::isSet(h.voltageAndCurrent) ? 2 : 0);
  if (d.TIME.rows() != ndata || d.TIME.cols() != static_cast<std::size_t>(h.NGEOM))
    return fail("TIME");
  if (d.VOLTS.rows() != ndata || d.VOLTS.cols() != voltsColumns) return fail("VOLTS");
  for (const auto* m : {&d.UVOLTS, &S.SVOLT, &current.SM.SVOLT})
    if (m->rows() != ndata || m->cols() != ncomp) return fail("NDATA x NCOMP array");
  if (d.LMASK.rows() != ndata || d.LMASK.cols() != ncomp) return fail("LMASK");
  if (d.LOGDAT.size() != ncomp) return fail("LOGDAT");
  for (std::size_t n : {d.KCALC.size(), d.NSET.size(), d.NTURNS.size()})
    if (n != nsets) return fail("per-set integers");
  for (const auto* v : {&d.AMPS, &d.RAMP, &d.FREQ, &d.AREA, &d.TSHIFT})
    if (v->size() != nsets) return fail("per-set reals");
  if (d.shiftBreak.size() != static_cast<std::size_t>(h.NSHIFT) ||
      d.shiftFactor.size() != static_cast<std::size_t>(h.NSHIFT))
    return fail("SHIFTS");
  for (const core::Sounding* s : {&S, &current.SM}) {
    const core::ModelHeader& m = s->model;
    if (m.NPAR < 0 || m.NLAYER < 0 || m.NPK < 0) return fail("negative model count");
    if (std::int64_t{m.NLAYER} * (m.NPK + 1) > std::int64_t{m.NPAR} + 1)
      return fail("more layers than the parameters hold");
    const auto npar = static_cast<std::size_t>(m.NPAR);
    for (std::size_t n : {s->M.PAR.size(), s->M.PARU.size(), s->M.PARD.size(), s->M.LFIX.size(),
                          s->M.LMTP.size(), s->PARMIN.size(), s->PARMAX.size()})
      if (n != npar) return fail("model arrays");
    if (s->ERER.size() != 2 * npar) return fail("ERER");
    if (s->ZNMIN.size() != static_cast<std::size_t>(m.NLAYER) || s->ZNMAX.size() != s->ZNMIN.size())
      return fail("ZNMIN/ZNMAX");
    if (!s->RESOLV.empty() && s->RESOLV.size() != npar * (npar + 1) / 2) return fail("RESOLV");
    if (!s->EQUIVA.empty() && (s->EQUIVA.rows() != 2 * npar || s->EQUIVA.cols() != npar))
      return fail("EQUIVA");
  }
  return ::testing::AssertionSuccess();
}

// Chunk headers of a file in order (magic skipped).
struct ChunkSeen {
  std::string tag;
  std::int32_t version;
  std::int32_t reserved;
  std::int32_t length;
};

inline std::vector<ChunkSeen> chunksOf(const std::string& file) {
  std::vector<ChunkSeen> chunks;
  for (std::size_t at = 8; at + 20 <= file.size();) {
    ChunkSeen seen{file.substr(at, 8), 0, 0, 0};
    std::memcpy(&seen.version, file.data() + at + 8, 4);
    std::memcpy(&seen.reserved, file.data() + at + 12, 4);
    std::memcpy(&seen.length, file.data() + at + 16, 4);
    chunks.push_back(seen);
    at += 20 + static_cast<std::size_t>(std::max(seen.length, 0));
  }
  return chunks;
}

// The payload of the first chunk with the tag (8 characters), or "" when none.
inline std::string payloadOf(const std::string& file, const std::string& tag) {
  std::size_t at = 8;
  for (const ChunkSeen& chunk : chunksOf(file)) {
    if (chunk.tag == tag) return file.substr(at + 20, static_cast<std::size_t>(chunk.length));
    at += 20 + static_cast<std::size_t>(std::max(chunk.length, 0));
  }
  return "";
}

}  // namespace zeva::files::testing
