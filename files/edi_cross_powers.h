#pragma once
// Impedances of an EDI spectra section (">=SPECTRASECT" with one ">SPECTRA"
// block per frequency). Each block holds the NCHAN x NCHAN cross-power
// matrix of the channels, row by row: the auto-powers on the diagonal, the
// real part of <X_k X_l*> (k < l) below it at (l, k) and the imaginary part
// above it at (k, l). The channels are named by the section's list of
// measurement IDs, whose types (HX, HY, EX, EY) come from the >HMEAS and
// >EMEAS blocks or from the section's HX=, HY=, EX=, EY= keywords.
//
// The impedance is the least-squares estimate Z = <E H*> <H H*>^-1 (Sims,
// Bostick and Smith 1971), turned to the angle ROT (or ROTSPEC) of the block
// when it has one. With the block's number of averaged estimates AVGT = N,
// the variance of Z_ij is r_i [<H H*>^-1]_jj / (N - 2), r_i being the power
// of E_i that Z leaves unexplained.

#include <optional>
#include <string>
#include <vector>

#include "files/edi_document.h"
#include "files/mt_impedance.h"

namespace zeva::files {

struct SpectraFrequency {
  double hertz = 0.0;
  int line = 0;  // line of the >SPECTRA block
  // Empty when the block holds a missing value (NaN, INF, EMPTY) or its
  // magnetic powers cannot be inverted.
  std::optional<ImpedanceTensor> tensor;
};

// The frequencies of the spectra section in file order. Returns the message
// to show when the section cannot be used.
std::optional<std::string> spectraImpedances(const EdiDocument& document,
                                             const std::string& fileName, double empty,
                                             std::vector<SpectraFrequency>& result);

}  // namespace zeva::files
