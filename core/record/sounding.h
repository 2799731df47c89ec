#pragma once
// The record of one sounding. The program holds two instances for the whole
// run: S (data, layered model, synthetics and inversion results) and SM (the
// smooth model). SM shares the data arrays of S - one storage, never a copy -
// and carries a copy of its data header; its own parts are the layer header,
// the model header, the model and its results.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/record/matrix.h"
#include "core/record/record_headers.h"

namespace zeva::core {

// Model parameters and their controls. PAR holds NPK blocks of NLAYER values
// (block 1 the resistivities, further blocks IP parameters), then one block
// of NLAYER - 1 thicknesses, or bottom depths when the depths flag is set.
struct LayeredModel {
  std::vector<float> PAR;     // parameters
  std::vector<float> PARU;    // upper limits
  std::vector<float> PARD;    // lower limits
  std::vector<Logical> LFIX;  // fixed: not changed by inversion
  std::vector<Logical> LMTP;  // limited to [PARD, PARU]
};

// The smooth model has the same layout: many layers with fixed boundaries.
using SmoothModel = LayeredModel;

// The observed data of a sounding, shared between S and SM.
struct SoundingData {
  Matrix<float> TIME;           // NDATA x NGEOM abscissae and geometry
  Matrix<float> VOLTS;          // NDATA x NCOMP, or x (NCOMP + 2) with voltage and current
  Matrix<float> UVOLTS;         // NDATA x NCOMP error bars
  Matrix<Logical> LMASK;        // NDATA x NCOMP, true: masked
  std::vector<Logical> LOGDAT;  // per column: misfit in log10 (true) or relative

  // Per acquisition set (TEM sweep).
  std::vector<std::int32_t> KCALC;
  std::vector<std::int32_t> NSET;  // 1-based index of the set's last reading
  std::vector<float> AMPS;
  std::vector<std::int32_t> NTURNS;
  std::vector<float> RAMP;
  std::vector<float> FREQ;
  std::vector<float> AREA;
  std::vector<float> TSHIFT;

  // Segment shifting: per break, the 1-based index of the last reading before
  // the break and the factor between the segments.
  std::vector<std::int32_t> shiftBreak;
  std::vector<float> shiftFactor;
};

// Sizes that the data arrays are allocated to; taken from a data header.
struct DataCounts {
  std::int64_t NDATA = 0, NCOMP = 0, NGEOM = 0, NSETS = 0, NSHIFT = 0;
  bool voltageAndCurrent = false;

  static DataCounts of(const DataHeader& header);
  // Bytes the arrays would occupy; lets a reader refuse counts a file cannot hold.
  std::int64_t bytes() const;
  bool valid() const;
};

class Sounding {
 public:
  Sounding();

  LayerHeader layer;
  DataHeader header;
  ModelHeader model;
  LayeredModel M;

  Matrix<float> SVOLT;                // NDATA x NCOMP synthetics of the model
  std::vector<float> RESOLV;          // NPAR (NPAR + 1) / 2, one triangle packed
  Matrix<float> EQUIVA;               // 2 NPAR x NPAR equivalent models
  std::vector<float> PARMIN, PARMAX;  // NPAR
  std::vector<float> ERER;            // 2 NPAR
  std::vector<float> ZNMIN, ZNMAX;    // NLAYER

  // A robust fit (not stored in files): while `robust` is set, each
  // inversion iteration weighs the residuals of its starting model by Huber
  // weights, kept in `huberWeights` (one per residual, k = c NDATA + i;
  // empty when every weight is 1).
  bool robust = false;
  std::vector<float> huberWeights;

  SoundingData& data() { return *data_; }
  const SoundingData& data() const { return *data_; }
  bool sharesDataWith(const Sounding& other) const { return data_ == other.data_; }

  // Reallocates the data arrays (and SVOLT) for the counts in the data header.
  // Returns false, leaving the arrays empty, when the counts are negative or
  // the memory cannot be had.
  bool allocateData();
  // Reallocates the model arrays for NLAYER and NPK of the model header;
  // NPAR follows as NLAYER x NPK + (NLAYER - 1). Result arrays are sized too.
  bool allocateModel();
  // Sizes the model arrays for the NPAR already in the model header (as the
  // native file stores it) without recomputing it.
  bool allocateModelForStoredCounts();
  // Frees the data arrays (shared with the smooth instance) and the own arrays.
  void freeArrays();
  // Frees the model and its result arrays only.
  void freeModelArrays();

  // Copies the data header into `smooth` and makes its data arrays those of
  // this instance; its synthetics are resized to the data.
  void shareDataWith(Sounding& smooth) const;
  // Gives this instance a copy of the data arrays of its own (a working copy
  // that a worker thread may model without touching the shared arrays).
  void detachData() { data_ = std::make_shared<SoundingData>(*data_); }

  // After a model header was read: NLAYER is lowered to (NPAR + 1) / (NPK + 1)
  // when that is smaller.
  void repairLayerCount();

  // Index helpers into PAR (zero-based).
  int NLAYER() const { return model.NLAYER; }
  int NPK() const { return model.NPK; }
  int NPAR() const { return model.NPAR; }
  int NDATA() const { return header.NDATA; }
  int NCOMP() const { return header.NCOMP; }
  std::size_t geometryIndex(int boundary) const {
    return static_cast<std::size_t>(model.NLAYER * model.NPK + boundary);
  }
  // The smooth instance counts as holding a model only with parameters.
  bool hasModel() const { return model.NPAR > 0; }
  bool masked(int reading, int component) const;

 private:
  std::shared_ptr<SoundingData> data_;
};

// The number of model parameters of NLAYER layers with NPK kinds each.
constexpr int parameterCount(int nlayer, int npk) {
  return nlayer > 0 ? nlayer * npk + nlayer - 1 : 0;
}

}  // namespace zeva::core
