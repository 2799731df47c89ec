#include "fuzz/fuzz_checks.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

#include "core/record/current_sounding.h"
#include "core/record/data_type.h"
#include "files/native_file_reader.h"
#include "files/native_file_writer.h"

namespace zeva::fuzz {

void require(bool holds, std::string_view what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz check failed: %.*s\n", static_cast<int>(what.size()), what.data());
  std::abort();
}

namespace {

template <typename T>
void requireShape(const core::Matrix<T>& m, std::int64_t rows, std::int64_t cols,
                  std::string_view what) {
  require(
      static_cast<std::int64_t>(m.rows()) == rows && static_cast<std::int64_t>(m.cols()) == cols,
      what);
}

template <typename V>
void requireSize(const V& v, std::int64_t n, std::string_view what) {
  require(static_cast<std::int64_t>(v.size()) == n, what);
}

std::string nativeBytes(core::CurrentSounding& current) {
  files::StringSink sink;
  require(files::writeNativeFile(sink, current).ok, "native file written");
  return sink.bytes();
}

}  // namespace

void requireConsistent(const core::Sounding& s) {
  const core::DataHeader& h = s.header;
  const core::SoundingData& d = s.data();
  require(h.NDATA >= 0 && h.NCOMP >= 0 && h.NGEOM >= 0 && h.NSETS >= 0 && h.NSHIFT >= 0,
          "counts are not negative");
  const std::int64_t volts = h.NCOMP + (core::isSet(h.voltageAndCurrent) ? 2 : 0);
  requireShape(d.TIME, h.NDATA, h.NGEOM, "TIME is NDATA x NGEOM");
  requireShape(d.VOLTS, h.NDATA, volts, "VOLTS is NDATA x NCOMP (+2)");
  requireShape(d.UVOLTS, h.NDATA, h.NCOMP, "UVOLTS is NDATA x NCOMP");
  requireShape(d.LMASK, h.NDATA, h.NCOMP, "LMASK is NDATA x NCOMP");
  requireSize(d.LOGDAT, h.NCOMP, "LOGDAT has NCOMP values");
  for (const auto* set : {&d.AMPS, &d.RAMP, &d.FREQ, &d.AREA, &d.TSHIFT})
    requireSize(*set, h.NSETS, "per-set arrays have NSETS values");
  requireSize(d.NSET, h.NSETS, "NSET has NSETS values");
  requireSize(d.NTURNS, h.NSETS, "NTURNS has NSETS values");
  requireSize(d.KCALC, h.NSETS, "KCALC has NSETS values");
  for (std::int32_t end : d.NSET) require(end >= 0 && end <= h.NDATA, "NSET within the data");
  const core::ModelHeader& m = s.model;
  if (m.NPAR > 0) {
    require(m.NPAR == core::parameterCount(m.NLAYER, m.NPK), "NPAR follows NLAYER and NPK");
    requireSize(s.M.PAR, m.NPAR, "PAR has NPAR values");
  }
}

void requireFinite(std::span<const float> values, std::string_view what) {
  for (float v : values) require(std::isfinite(v), what);
}

void requireFiniteData(const core::Sounding& s) {
  const core::SoundingData& d = s.data();
  requireFinite(d.TIME.elements(), "TIME finite");
  requireFinite(d.VOLTS.elements(), "VOLTS finite");
  requireFinite(d.UVOLTS.elements(), "UVOLTS finite");
  for (const auto* set : {&d.AMPS, &d.RAMP, &d.FREQ, &d.AREA, &d.TSHIFT})
    requireFinite(*set, "per-set values finite");
  const core::DataHeader& h = s.header;
  const std::array<float, 10> header{h.east,         h.north,     h.elevation, h.azimuth,
                                     h.loopSizeX,    h.loopSizeY, h.coilX,     h.coilY,
                                     h.dipoleLength, h.timeOfDay};
  requireFinite(header, "header values finite");
}

void requireMeaningfulReadings(const core::Sounding& s) {
  const core::SoundingData& d = s.data();
  const core::Family family = core::familyOf(s.header.dataType);
  for (std::size_t i = 0; i < static_cast<std::size_t>(s.header.NDATA); ++i) {
    switch (family) {
      case core::Family::DcResistivity:
        require(d.TIME(i, 0) > 0.0f, "DC spacings positive");
        require(d.VOLTS(i, 0) > 0.0f, "DC apparent resistivities positive");
        break;
      case core::Family::TimeDomainEm:
        require(d.TIME(i, 0) > 0.0f, "TEM times positive");
        break;
      case core::Family::Magnetotelluric:
        require(d.TIME(i, 0) > 0.0f, "MT frequencies positive");
        require(d.VOLTS(i, 0) > 0.0f, "MT apparent resistivities positive");
        if (s.header.dataType == core::type::kMagnetotelluric)
          require(d.VOLTS(i, 1) >= -180.0f && d.VOLTS(i, 1) <= 180.0f,
                  "MT phases within a half turn");
        break;
      case core::Family::MaxMin:
      case core::Family::EmConductivity:
        require(d.TIME(i, 0) > 0.0f, "coil frequencies positive");
        require(d.TIME(i, 1) > 0.0f, "coil spacings positive");
        break;
      default:
        break;
    }
  }
}

void requireNativeRoundTrip(const core::Sounding& sounding) {
  core::CurrentSounding current;
  core::resetToDefault(current);
  current.S.header = sounding.header;
  current.S.data() = sounding.data();
  current.S.SVOLT.resize(static_cast<std::size_t>(sounding.header.NDATA),
                         static_cast<std::size_t>(sounding.header.NCOMP));
  if (sounding.model.NPAR > 0) {
    current.S.model = sounding.model;
    require(current.S.allocateModel(), "model allocated");
    current.S.M.PAR = sounding.M.PAR;
  }
  current.S.shareDataWith(current.SM);
  const std::string written = nativeBytes(current);

  core::CurrentSounding again;
  core::resetToDefault(again);
  files::MemorySource source(written);
  const files::ReadResult reread = files::readNativeFile(source, again, "again.ZVR");
  require(reread.ok, "saved record reopens");
  require(reread.messages.empty(), "saved record reopens without a message");
  require(nativeBytes(again) == written, "reopened record saves to the same bytes");
}

std::string writeInputFile(std::span<const std::uint8_t> input, std::string_view extension) {
#if defined(__unix__) || defined(__APPLE__)
  const long id = static_cast<long>(::getpid());
#else
  const long id = 0;
#endif
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("zeva-fuzz-" + std::to_string(id) + std::string(extension));
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(input.data()),
            static_cast<std::streamsize>(input.size()));
  out.close();
  require(static_cast<bool>(out), "input file written");
  return file.string();
}

}  // namespace zeva::fuzz
