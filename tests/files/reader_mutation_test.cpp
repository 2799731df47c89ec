// Deterministic mutation test of the USF and EDI readers: valid files are
// damaged in many small ways (bytes flipped, lines dropped, repeated or cut,
// numbers made huge, keywords swapped) and every damaged file is read. Each
// read must end, succeed or fail, without a crash, and a failure must have
// told the user why.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <vector>

#include "files/edi_reader.h"
#include "files/usf_reader.h"

namespace zeva::files {
namespace {

// A small generator of our own, so the mutations are the same on every run.
class Mutator {
 public:
  explicit Mutator(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return state_ >> 33;
  }
  std::size_t below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(next() % n); }

  std::string mutate(const std::string& text) {
    std::string out = text;
    const int edits = 1 + static_cast<int>(below(4));
    for (int e = 0; e < edits && !out.empty(); ++e) {
      const std::size_t at = below(out.size());
      switch (below(8)) {
        case 0:
          out[at] = static_cast<char>(next());
          break;
        case 1:
          out.erase(at, 1 + below(20));
          break;
        case 2:
          out.insert(at, out.substr(below(out.size()), 1 + below(60)));
          break;
        case 3:
          out.resize(at);
          break;
        case 4:
          out.insert(at, std::to_string(next() * next()));
          break;
        case 5:
          out.insert(at, "\n/END\n");
          break;
        case 6:
          out.insert(at, std::string(300 + below(400), static_cast<char>('0' + below(10))));
          break;
        case 7: {
          static const char* words[] = {"/POINTS: 999999999\n",
                                        "/SWEEPS: 0\n",
                                        "SWEEP_NUMBER: 3\n",
                                        "MASK ",
                                        "ERROR_BAR ",
                                        ">FREQ //7\n",
                                        ">ZXYR\n",
                                        "EMPTY=0\n",
                                        ",,,",
                                        "\"",
                                        ":",
                                        "//END\n",
                                        "/ARRAY: Central Loop TEM\n"};
          out.insert(at, words[below(std::size(words))]);
          break;
        }
      }
    }
    return out;
  }

 private:
  std::uint64_t state_;
};

const std::vector<std::string>& usfSeeds() {
  static const std::vector<std::string> seeds{
      "//USF: Universal Sounding Format\n//SOUNDINGS: 2\n//END\n \n/ARRAY: Schlumberger Array\n"
      "/LOCATION: 1, 2, 3\n/POINTS: 3\n/SOUNDING_NAME: \"A b\"\n/END\n \nINDEX, SPACING, "
      "RESISTIVITY, "
      "PFE, MN\n1, 1.5, 100, 2, 0.5\n2, 2, 90, 3, 0.5\n3, 3, 80, 4, 1\n/END\n \n"
      "/ARRAY: EM Conductivity Data\n/POINTS: 2\n/END\nINDEX FREQUENCY SPACING HEIGHT HMD "
      "ERROR_BAR "
      "MASK VMD ERROR_BAR MASK\n1 9800 3.66 1 25.5 0.5 0 31.5 0.7 1\n2 9800 10 1 20 0.4 1 24 0.6 "
      "0\n/END\n",
      "//USF: Universal Sounding Format\n//SOUNDINGS: 1\n//END\n/ARRAY: Central Loop TEM\n/POINTS: "
      "3\n"
      "/SWEEPS: 2\n/VOLTAGE_UNITS: V/AMP\n/TIME_DELAY: 1e-5\n/END\nINDEX TIME WIDTH VOLTAGE "
      "ERROR_BAR "
      "MASK\n1 1e-4 1e-5 2e-3 0.1 0\n \n/SWEEP_NUMBER: 2\n/CURRENT: 3\n/RAMP_TIME: 1e-4\n/END\n"
      "2 2e-4 1e-5 1e-3 0.1 1\n3 4e-4 2e-5 5e-4 0.1 0\n/END\n",
      "//USF: Universal Sounding Format\n//SOUNDINGS: 1\n//END\n/ARRAY: Vertical Coaxial\n/POINTS: "
      "2\n"
      "/FREQUENCY: 1760\n/SPACING: 100\n/END\nINDEX, HEIGHT, INPHASE, QUADRATURE\n1, 1, -2.5, 4\n"
      "2, 2, -2, 3.5\n/END\n"};
  return seeds;
}

const std::vector<std::string>& ediSeeds() {
  static const std::vector<std::string> seeds{
      ">HEAD\n  DATAID=\"S1\"\n  EMPTY=1.0E32\n>=MTSECT\n  NFREQ=3\n>FREQ //3\n 100 10 1\n>ZROT "
      "//3\n 0 0 0\n"
      ">ZXYR ROT=ZROT //3\n 70.7 22.4 7.07\n>ZXYI ROT=ZROT //3\n 70.7 22.4 7.07\n>ZXY.VAR //3\n"
      " 25 2.5 0.25\n>END\n",
      ">HEAD\nEMPTY=1.0E32\n>=MTSECT\n>FREQ //3\n10 1 0.1\n>RHOYX //3\n30 1.0E32 50\n>PHSYX //3\n"
      "-130 -120 -140\n>RHOYX.ERR //3\n3 3 5\n>END\n"};
  return seeds;
}

constexpr int kMutationsPerSeed = 5000;

TEST(ReaderMutation, DamagedUsfFilesEndWithoutACrashAndFailuresAreExplained) {
  Mutator mutator(20260412);
  int inputs = 0, read = 0;
  for (const std::string& seed : usfSeeds()) {
    for (int m = 0; m < kMutationsPerSeed; ++m) {
      const std::string text = mutator.mutate(seed);
      for (int number = 1; number <= 2; ++number) {
        std::istringstream in(text);
        core::Sounding s;
        const Result result = readUsfSounding(in, number, s);
        ++inputs;
        if (result.ok) {
          ++read;
          ASSERT_GE(s.header.NDATA, 0);
          ASSERT_EQ(s.data().VOLTS.rows(), static_cast<std::size_t>(s.header.NDATA));
        } else {
          ASSERT_FALSE(result.messages.empty()) << text;
        }
      }
    }
  }
  RecordProperty("usf_inputs", inputs);
  std::printf("USF mutation inputs: %d, read as soundings: %d\n", inputs, read);
  EXPECT_EQ(inputs, 2 * kMutationsPerSeed * static_cast<int>(usfSeeds().size()));
}

TEST(ReaderMutation, DamagedEdiFilesEndWithoutACrashAndFailuresAreExplained) {
  Mutator mutator(7);
  int inputs = 0, read = 0;
  for (const std::string& seed : ediSeeds()) {
    for (int m = 0; m < kMutationsPerSeed; ++m) {
      const std::string text = mutator.mutate(seed);
      std::istringstream in(text);
      core::Sounding s;
      const files::Result result = readEdi(in, "M", s);
      ++inputs;
      if (result.ok) {
        ++read;
        ASSERT_GT(s.header.NDATA, 0);
        ASSERT_EQ(s.data().TIME.rows(), static_cast<std::size_t>(s.header.NDATA));
      } else {
        ASSERT_FALSE(result.messages.empty()) << text;
      }
    }
  }
  RecordProperty("edi_inputs", inputs);
  std::printf("EDI mutation inputs: %d, read as soundings: %d\n", inputs, read);
  EXPECT_EQ(inputs, kMutationsPerSeed * static_cast<int>(ediSeeds().size()));
}

}  // namespace
}  // namespace zeva::files
