#include "forward/ip_forward.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "forward/dc_resistivity_forward.h"
#include "forward/forward_routine.h"

namespace zeva::forward {

namespace {

using core::Sounding;

struct IpUnit {
  float scale;  // m / scale is the relative rise of a layer resistivity
  float floor;  // smallest reference value of the linear IP fit
};

IpUnit ipUnitOf(const Sounding& S) {
  // Compared over the first nine characters, so a tenth of any kind is ignored.
  const bool pfe = S.header.ipUnit.padded().substr(0, 9) == "(pfe)    ";
  return pfe ? IpUnit{100.0f, 0.5f} : IpUnit{1000.0f, 5.0f};
}

std::size_t readingCount(const Sounding& S) {
  const auto& d = S.data();
  if (S.NDATA() < 1 || d.TIME.cols() < 1 || d.VOLTS.cols() < 1 || S.SVOLT.cols() < 1) return 0;
  return std::min(
      {static_cast<std::size_t>(S.NDATA()), d.TIME.rows(), d.VOLTS.rows(), S.SVOLT.rows()});
}

// Fitted on a linear scale when any observed IP value is 0 or negative; the
// reference value R is then the smallest usable magnitude, at least the floor.
struct LinearIp {
  bool linear = false;
  float reference = 1.0e30f;
};

LinearIp linearIpTest(const Sounding& S, std::size_t count, float floor) {
  LinearIp result;
  const auto ip = S.data().VOLTS.column(1).first(count);
  result.linear = std::any_of(ip.begin(), ip.end(), [](float v) { return v <= 0.0f; });
  if (!result.linear) return result;
  for (const float v : ip) {
    const float magnitude = std::fabs(v);
    if (v != 0.0f && !std::isnan(v) && magnitude > 1.0e-15f && magnitude < 1.0e15f)
      result.reference = std::min(result.reference, magnitude);
  }
  result.reference = std::max(floor, result.reference);
  return result;
}

void fitResistivityAndIp(Sounding& S, std::size_t count, std::size_t columns,
                         const LinearIp& linearIp) {
  const auto& d = S.data();
  const bool maskable = d.LMASK.rows() >= count && d.LMASK.cols() >= columns;
  float sum = 0.0f;
  int n = static_cast<int>(count * columns);
  for (std::size_t j = 0; j < columns; ++j) {
    for (std::size_t i = 0; i < count; ++i) {
      const float observed = d.VOLTS(i, j);
      // Masked values and missing readings take no part in the fit.
      if ((maskable && S.masked(static_cast<int>(i), static_cast<int>(j))) ||
          observed >= kMissingReading) {
        --n;
        continue;
      }
      const float synthetic = S.SVOLT(i, j);
      if (std::isnan(synthetic)) {
        S.layer.RMS = kNotANumberFit;
        S.layer.PCTERR = kNotANumberFit;
        return;
      }
      float misfit;
      if (j == 0 || !linearIp.linear) {
        misfit = std::log10(std::fabs(synthetic / observed) + 1.0e-30f);
      } else {
        float q = observed == 0.0f ? linearIp.reference : observed;
        if (std::fabs(q) <= 1.0f) q = std::copysign(linearIp.reference, q);
        misfit = (observed - synthetic) / q;
      }
      sum += misfit * misfit;
    }
  }
  if (n < 1) {
    S.layer.RMS = 0.0f;
    S.layer.PCTERR = 0.0f;
  } else {
    const float e = std::sqrt(sum / static_cast<float>(n));
    if (linearIp.linear) {
      S.layer.RMS = 100.0f * e;
      S.layer.PCTERR = 100.0f * e;
    } else {
      S.layer.RMS = e;
      if (std::fabs(e) < 30.0f) S.layer.PCTERR = (std::pow(10.0f, e) - 1.0f) * 100.0f;
    }
  }
  S.layer.syntheticValid = core::kTrue;
}

}  // namespace

void ipForward(Sounding& S, ui::Toolkit& toolkit) {
  const std::size_t count = readingCount(S);
  const int nlayer = S.NLAYER();
  if (nlayer < 1 || count < 1) return;
  const auto layers = static_cast<std::size_t>(nlayer);
  std::vector<float>& PAR = S.M.PAR;
  if (PAR.size() < layers) return;

  const IpUnit unit = ipUnitOf(S);
  const bool haveIp = S.NCOMP() >= 2 && S.data().VOLTS.cols() >= 2 && S.SVOLT.cols() >= 2;
  const LinearIp linearIp = haveIp ? linearIpTest(S, count, unit.floor) : LinearIp{};

  // Non-physical resistivities are replaced before the perturbation, so that
  // both runs see the same layer.
  for (std::size_t j = 0; j < layers; ++j)
    if (PAR[j] <= 0.0f) PAR[j] = 10.0f;
  const std::vector<float> resistivity(PAR.begin(), PAR.begin() + nlayer);
  const bool withIpParameters = S.NPK() >= 2 && PAR.size() >= 2 * layers;
  for (std::size_t j = 0; j < layers; ++j) {
    const float m = withIpParameters ? PAR[layers + j] : 0.0f;
    PAR[j] = resistivity[j] * (m + unit.scale) / unit.scale;
  }
  runDcResistivity(S, toolkit);
  const auto perturbed = S.SVOLT.column(0).first(count);
  std::vector<float> rhoPerturbed(perturbed.begin(), perturbed.end());

  std::copy(resistivity.begin(), resistivity.end(), PAR.begin());
  const DcRunStatus status = runDcResistivity(S, toolkit);
  if (haveIp) {
    for (std::size_t i = 0; i < count; ++i) {
      const float rhoA = S.SVOLT(i, 0);
      S.SVOLT(i, 1) = (rhoPerturbed[i] - rhoA) * unit.scale / rhoA;
    }
  }
  // A refused model keeps the fits and the synthetic-valid flag the DC run
  // left; so does a run that had nothing to model.
  if (status == DcRunStatus::Refused || status == DcRunStatus::NothingToDo) return;

  const std::size_t columns = std::min(
      {static_cast<std::size_t>(std::max(S.NCOMP(), 1)), S.data().VOLTS.cols(), S.SVOLT.cols()});
  fitResistivityAndIp(S, count, columns, linearIp);
  S.layer.saved = core::kFalse;
}

}  // namespace zeva::forward
