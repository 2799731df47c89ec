#include "inversion/segment_shifting.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "core/record/data_type.h"
#include "forward/segment_levels.h"

namespace zeva::inversion {

using core::Sounding;

namespace {

// Only readings with MN beside AB/2 fall into segments.
bool isSchlumberger(const Sounding& S) {
  return core::traitsOf(S.header.dataType).potentialSpacing;
}

// Deletes reading i (zero-based) from the data arrays, keeping every
// NDATA-row array the size of the data and the set end indices in step.
void deleteReading(Sounding& S, int i) {
  auto& d = S.data();
  const auto row = static_cast<std::size_t>(i);
  for (auto* m : {&d.TIME, &d.VOLTS, &d.UVOLTS, &S.SVOLT})
    if (row < m->rows()) m->eraseRow(row);
  if (row < d.LMASK.rows()) d.LMASK.eraseRow(row);
  for (auto& last : d.NSET)
    if (last >= i + 1) --last;
  --S.header.NDATA;
}

// The pair (j, k) of a reading j before the segment [first, end) and a
// reading k inside it with nearly equal spacings and k's value not 0 that
// comes last when j runs outer and k inner, both upward: the largest such j,
// and for it the largest k. The segment's spacings are sorted once, so each
// earlier reading costs a binary search instead of a pass over the segment
// (a pass made the import of a long sounding quadratic in its length).
std::optional<std::pair<int, int>> lastRepeatedPair(const Sounding& S, int first, int end) {
  const auto& d = S.data();
  const auto spacing = [&](int i) { return d.TIME(static_cast<std::size_t>(i), 0); };
  // Distinct spacings of the segment, each with the last reading that holds it.
  std::vector<std::pair<float, int>> segment;
  segment.reserve(static_cast<std::size_t>(end - first));
  for (int k = first; k < end; ++k)
    if (!std::isnan(spacing(k)) && d.VOLTS(static_cast<std::size_t>(k), 0) != 0.0f)
      segment.emplace_back(spacing(k), k);
  std::sort(segment.begin(), segment.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::pair<float, int>> distinct;
  for (const auto& [value, k] : segment) {
    if (!distinct.empty() && distinct.back().first == value)
      distinct.back().second = std::max(distinct.back().second, k);
    else
      distinct.emplace_back(value, k);
  }
  const auto below = [&](double bound) {
    return std::lower_bound(
        distinct.begin(), distinct.end(), bound,
        [](const auto& entry, double b) { return static_cast<double>(entry.first) < b; });
  };
  const auto lastMatchIn = [&](float a, double low, double high) {
    int best = -1;
    for (auto it = below(low); it != distinct.end() && static_cast<double>(it->first) <= high; ++it)
      if (NearlyEqual(a, it->first)) best = std::max(best, it->second);
    return best;
  };
  for (int j = first - 1; j >= 0; --j) {
    const auto a = static_cast<double>(spacing(j));
    if (std::isnan(a)) continue;
    // NearlyEqual holds only for values within one part in a million of a
    // (a slightly wider window is searched and each candidate tested), for 0
    // when |a| < 1.0E-6, and for any value below 1.0E-6 when a is 0.
    const double width = a == 0.0 ? 1.0e-6 : std::isinf(a) ? 0.0 : 3.0e-6 * std::fabs(a);
    int best = lastMatchIn(spacing(j), a - width, a + width);
    if (a != 0.0 && std::fabs(a) < 1.0e-6) best = std::max(best, lastMatchIn(spacing(j), 0.0, 0.0));
    if (best >= 0) return std::make_pair(j, best);
  }
  return std::nullopt;
}

}  // namespace

bool NearlyEqual(float a, float b) {
  if (std::isnan(a) || std::isnan(b)) return false;
  if (a == b) return true;
  if (a == 0.0f) return std::fabs(b) < 1.0e-6f;
  if (b == 0.0f) return std::fabs(a) < 1.0e-6f;
  if (a == -b) return false;
  return std::fabs(2.0f * (a - b) / (a + b)) <= 1.0e-6f;
}

bool SHIFTP(Sounding& S) {
  auto& d = S.data();
  S.header.NSHIFT = 0;
  d.shiftBreak.clear();
  d.shiftFactor.clear();
  if (!isSchlumberger(S)) return true;
  const int n = forward::segmentReadingCount(S);
  if (n < 2) return true;

  const auto spacing = [&](int i) { return d.TIME(static_cast<std::size_t>(i), 0); };
  const auto value = [&](int i) { return d.VOLTS(static_cast<std::size_t>(i), 0); };
  try {
    for (int i = 0; i + 1 < n && static_cast<int>(d.shiftBreak.size()) < kMaxSegmentBreaks; ++i)
      if (spacing(i + 1) <= spacing(i)) d.shiftBreak.push_back(i + 1);
    d.shiftFactor.assign(d.shiftBreak.size(), 1.0f);
  } catch (const std::bad_alloc&) {
    d.shiftBreak.clear();
    d.shiftFactor.clear();
    return false;
  }
  S.header.NSHIFT = static_cast<int>(d.shiftBreak.size());

  // The last repeated spacing decides. A zero reading gives no usable factor
  // and leaves the one found before it.
  try {
    for (int s = 0; s < S.header.NSHIFT; ++s) {
      const int last = d.shiftBreak[s];
      const int end = s + 1 < S.header.NSHIFT ? d.shiftBreak[s + 1] : n;
      if (const auto pair = lastRepeatedPair(S, last, end))
        d.shiftFactor[s] = value(pair->first) / value(pair->second);
    }
  } catch (const std::bad_alloc&) {
    S.header.NSHIFT = 0;
    d.shiftBreak.clear();
    d.shiftFactor.clear();
    return false;
  }
  return true;
}

void ApplySegmentShifts(Sounding& S, bool observed, bool cumulative) {
  if (!observed) {
    forward::applySegmentLevelsToSynthetics(S, cumulative);
    return;
  }
  auto& d = S.data();
  const int nshift = std::min<int>(S.header.NSHIFT, static_cast<int>(d.shiftBreak.size()));
  if (nshift < 1 || !isSchlumberger(S)) return;
  const bool withVoltage = core::isSet(S.header.voltageAndCurrent) && d.VOLTS.cols() >= 2;
  const int n = forward::segmentReadingCount(S);
  const bool haveSynthetics = S.SVOLT.cols() >= 1 && static_cast<int>(S.SVOLT.rows()) >= n;

  float P = 1.0f;
  for (int s = 0; s < nshift; ++s) {
    const float factor = d.shiftFactor[s];
    const int last = std::min(d.shiftBreak[s], n);
    for (int i = 0; i < last; ++i) {
      const auto r = static_cast<std::size_t>(i);
      d.VOLTS(r, 0) /= factor;
      if (withVoltage) d.VOLTS(r, 1) /= factor;
      if (haveSynthetics) S.SVOLT(r, 0) /= factor;
    }
    if (cumulative) P *= factor;
  }

  // Join the segments: an earlier reading is dropped while a later one lies
  // at or inside its spacing, so the later (shifted) segment is kept.
  int count = n;
  for (int i = 0; i < count; ++i) {
    for (int k = i + 1; k < count; ++k) {
      while (k < count && i < count - 1 &&
             d.TIME(static_cast<std::size_t>(k), 0) <= d.TIME(static_cast<std::size_t>(i), 0)) {
        deleteReading(S, i);
        --count;
      }
    }
    if (cumulative) {
      d.VOLTS(static_cast<std::size_t>(i), 0) *= P;
      if (withVoltage) d.VOLTS(static_cast<std::size_t>(i), 1) *= P;
    }
  }
  S.header.NSHIFT = 0;
  d.shiftBreak.clear();
  d.shiftFactor.clear();
}

}  // namespace zeva::inversion
