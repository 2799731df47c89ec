#include "forward/model_layers.h"

#include <algorithm>
#include <cstddef>

namespace zeva::forward {

bool arraysHoldCounts(const core::Sounding& S, int geometryColumns, int dataColumns) {
  const int nlayer = S.NLAYER();
  const int ndata = S.NDATA();
  if (nlayer < 0 || ndata < 0 || S.NPK() < 1 || S.NCOMP() < 0) return false;
  const auto need = static_cast<std::size_t>(nlayer * S.NPK() + std::max(0, nlayer - 1));
  if (S.M.PAR.size() < need) return false;
  if (ndata == 0) return true;
  const auto rows = static_cast<std::size_t>(ndata);
  const auto& d = S.data();
  const auto columns = static_cast<std::size_t>(dataColumns);
  return d.TIME.rows() >= rows && d.TIME.cols() >= static_cast<std::size_t>(geometryColumns) &&
         d.VOLTS.rows() >= rows && d.VOLTS.cols() >= columns && d.LMASK.rows() >= rows &&
         d.LMASK.cols() >= columns && d.UVOLTS.rows() >= rows && d.UVOLTS.cols() >= columns &&
         S.SVOLT.rows() >= rows && S.SVOLT.cols() >= columns;
}

bool depthsIncrease(const core::Sounding& S, float minimumDepth) {
  const int nlayer = S.NLAYER();
  if (!core::isSet(S.model.depths) || nlayer < 3) return true;
  for (int j = 0; j < nlayer - 1; ++j) {
    const float depth = S.M.PAR[S.geometryIndex(j)];
    if (depth < minimumDepth) return false;
    if (j + 1 < nlayer - 1 && depth >= S.M.PAR[S.geometryIndex(j + 1)]) return false;
  }
  return true;
}

void markModelRefused(core::Sounding& S) {
  S.layer.RMS = kRefusedFit;
  S.layer.PCTERR = kRefusedFit;
  const auto rows = std::min(S.SVOLT.rows(), static_cast<std::size_t>(std::max(0, S.NDATA())));
  if (S.SVOLT.cols() < 1) return;
  for (std::size_t i = 0; i < rows; ++i) S.SVOLT(i, 0) = kRefusedSynthetic;
}

float layerThickness(core::Sounding& S, int j) {
  float& stored = S.M.PAR[S.geometryIndex(j)];
  if (!(stored > 0.0f)) stored = kReplacementValue;
  if (!core::isSet(S.model.depths) || j == 0) return stored;
  const float thickness = stored - S.M.PAR[S.geometryIndex(j - 1)];
  // The depth check refuses non-increasing depths before any layer is read;
  // what can remain is a first depth just raised to 10.0 above the second.
  return thickness > 0.0f ? thickness : kReplacementValue;
}

float layerValue(core::Sounding& S, int j) {
  float& stored = S.M.PAR[static_cast<std::size_t>(j)];
  if (!(stored > 0.0f)) stored = kReplacementValue;
  return stored;
}

}  // namespace zeva::forward
