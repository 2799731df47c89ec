#include "core/record/sounding.h"

#include <new>

namespace zeva::core {

namespace {

constexpr std::int64_t kMaxCount = 1 << 24;  // no real sounding comes near this

template <typename Vector>
void sizeTo(Vector& values, std::int64_t count) {
  values.assign(static_cast<std::size_t>(count), typename Vector::value_type{});
}

}  // namespace

DataCounts DataCounts::of(const DataHeader& header) {
  DataCounts counts;
  counts.NDATA = header.NDATA;
  counts.NCOMP = header.NCOMP;
  counts.NGEOM = header.NGEOM;
  counts.NSETS = header.NSETS;
  counts.NSHIFT = header.NSHIFT;
  counts.voltageAndCurrent = isSet(header.voltageAndCurrent);
  return counts;
}

bool DataCounts::valid() const {
  for (std::int64_t count : {NDATA, NCOMP, NGEOM, NSETS, NSHIFT})
    if (count < 0 || count > kMaxCount) return false;
  return NDATA * (NCOMP + 2) <= kMaxCount && NDATA * NGEOM <= kMaxCount;
}

std::int64_t DataCounts::bytes() const {
  const std::int64_t voltsColumns = NCOMP + (voltageAndCurrent ? 2 : 0);
  const std::int64_t perReading = NGEOM + voltsColumns + 4 * NCOMP;  // UVOLTS, LMASK, SVOLT x2
  return 4 * (NDATA * perReading + NCOMP + 8 * NSETS + 2 * NSHIFT);
}

Sounding::Sounding() : data_(std::make_shared<SoundingData>()) {}

bool Sounding::allocateData() {
  const DataCounts counts = DataCounts::of(header);
  SoundingData& d = *data_;
  d = SoundingData{};
  SVOLT.clear();
  if (!counts.valid()) return false;
  try {
    const auto ndata = static_cast<std::size_t>(counts.NDATA);
    const auto ncomp = static_cast<std::size_t>(counts.NCOMP);
    d.TIME.resize(ndata, static_cast<std::size_t>(counts.NGEOM));
    d.VOLTS.resize(ndata, ncomp + (counts.voltageAndCurrent ? 2 : 0));
    d.UVOLTS.resize(ndata, ncomp);
    d.LMASK.resize(ndata, ncomp);
    sizeTo(d.LOGDAT, counts.NCOMP);
    for (auto* values : {&d.KCALC, &d.NSET}) sizeTo(*values, counts.NSETS);
    for (auto* values : {&d.AMPS, &d.RAMP, &d.FREQ, &d.AREA, &d.TSHIFT})
      sizeTo(*values, counts.NSETS);
    d.NTURNS.assign(static_cast<std::size_t>(counts.NSETS), 1);
    sizeTo(d.shiftBreak, counts.NSHIFT);
    sizeTo(d.shiftFactor, counts.NSHIFT);
    SVOLT.resize(ndata, ncomp);
  } catch (const std::bad_alloc&) {
    d = SoundingData{};
    SVOLT.clear();
    return false;
  }
  return true;
}

bool Sounding::allocateModel() {
  if (model.NLAYER < 0 || model.NPK < 1 || model.NLAYER > kMaxCount || model.NPK > 64) return false;
  model.NPAR = parameterCount(model.NLAYER, model.NPK);
  return allocateModelForStoredCounts();
}

bool Sounding::allocateModelForStoredCounts() {
  const std::int64_t npar = model.NPAR;
  const std::int64_t nlayer = model.NLAYER;
  M = LayeredModel{};
  RESOLV.clear();
  EQUIVA.clear();
  PARMIN.clear(), PARMAX.clear(), ERER.clear(), ZNMIN.clear(), ZNMAX.clear();
  if (npar < 0 || nlayer < 0 || npar > 1 << 15 || nlayer > kMaxCount) return false;
  try {
    for (auto* values : {&M.PAR, &M.PARU, &M.PARD, &PARMIN, &PARMAX}) sizeTo(*values, npar);
    sizeTo(M.LFIX, npar);
    sizeTo(M.LMTP, npar);
    sizeTo(RESOLV, npar * (npar + 1) / 2);
    EQUIVA.resize(static_cast<std::size_t>(2 * npar), static_cast<std::size_t>(npar));
    sizeTo(ERER, 2 * npar);
    sizeTo(ZNMIN, nlayer);
    sizeTo(ZNMAX, nlayer);
  } catch (const std::bad_alloc&) {
    M = LayeredModel{};
    return false;
  }
  return true;
}

void Sounding::freeArrays() {
  *data_ = SoundingData{};
  SVOLT.clear();
  freeModelArrays();
}

void Sounding::freeModelArrays() {
  M = LayeredModel{};
  RESOLV.clear();
  EQUIVA.clear();
  PARMIN.clear(), PARMAX.clear(), ERER.clear(), ZNMIN.clear(), ZNMAX.clear();
}

void Sounding::shareDataWith(Sounding& smooth) const {
  smooth.header = header;
  smooth.data_ = data_;
  if (smooth.SVOLT.rows() != SVOLT.rows() || smooth.SVOLT.cols() != SVOLT.cols())
    smooth.SVOLT.resize(SVOLT.rows(), SVOLT.cols());
}

void Sounding::repairLayerCount() {
  if (model.NPK + 1 == 0) return;
  const int fitting = (model.NPAR + 1) / (model.NPK + 1);
  if (fitting < model.NLAYER) model.NLAYER = fitting;
}

bool Sounding::masked(int reading, int component) const {
  return isSet(header.maskingOn) && isSet(data_->LMASK(static_cast<std::size_t>(reading),
                                                       static_cast<std::size_t>(component)));
}

}  // namespace zeva::core
