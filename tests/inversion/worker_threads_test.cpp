// Forward runs on worker threads: the derivative runs of an iteration and the
// searches of an equivalence analysis give bit for bit what they give one
// after the other, with the routine's messages in the same order, and the
// user's interrupt still stops them.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/record/sounding.h"
#include "forward/dc_resistivity_forward.h"
#include "inversion/equivalence.h"
#include "inversion/layered_inversion.h"
#include "inversion/worker_pool.h"
#include "tests/inversion/synthetic_soundings.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::inversion {
namespace {

using core::Sounding;

std::vector<std::uint32_t> bitsOf(std::span<const float> values) {
  std::vector<std::uint32_t> bits(values.size());
  if (!values.empty()) std::memcpy(bits.data(), values.data(), values.size() * sizeof(float));
  return bits;
}

// Sets the program's pool to a number of threads for one test.
class WorkerThreads : public ::testing::Test {
 protected:
  void TearDown() override { WorkerPool::shared().resize(kept_); }
  static void useThreads(int threads) { WorkerPool::shared().resize(threads); }

 private:
  int kept_ = WorkerPool::shared().threads();
};

// Five layers under 33 Schlumberger readings with a 3 % ripple, inverted from
// a flat start.
void rippledSounding(Sounding& S, ui::Toolkit& toolkit) {
  test::makeSynthetic(S, "Schlumberger Array", test::logSpacings(1.0f, 1000.0f, 11),
                      {{50.0f, 200.0f, 20.0f, 100.0f, 500.0f}, {2.0f, 5.0f, 10.0f, 30.0f}},
                      toolkit);
  for (int i = 0; i < S.NDATA(); ++i)
    S.data().VOLTS(static_cast<std::size_t>(i), 0) *= 1.0f + 0.03f * std::sin(2.3f * float(i));
  test::setModel(S, {{80.0f, 80.0f, 80.0f, 80.0f, 80.0f}, {2.0f, 6.0f, 25.0f, 60.0f}});
}

// The DC routine, telling a message of every model it runs so that the
// order in which messages reach the user can be compared.
forward::ForwardRoutine tellingDcRoutine(ui::Toolkit& toolkit) {
  return {[](Sounding& s, ui::Toolkit& messages) {
            forward::dcResistivityForward(s, messages);
            messages.information("model " + std::to_string(s.M.PAR[0]) + " " +
                                 std::to_string(s.M.PAR[s.geometryIndex(0)]));
          },
          toolkit};
}

struct Outcome {
  std::vector<std::uint32_t> model, synthetics, fits, resolution, equivalent, ranges;
  std::vector<std::string> messages;
};

Outcome invertAndAnalyze() {
  zeva::test::ScriptedToolkit toolkit;
  Sounding S;
  rippledSounding(S, toolkit);
  toolkit.messages.clear();
  const forward::ForwardRoutine routine = tellingDcRoutine(toolkit);
  RunMonitor monitor(toolkit);
  InvertMany(S, routine, core::InversionSettings{0.98f, 0.5f, 4}, monitor, 1);
  Outcome outcome;
  outcome.resolution = bitsOf(S.RESOLV);
  EXPECT_TRUE(AnalyzeEquivalence(S, routine, monitor).completed);
  outcome.model = bitsOf(S.M.PAR);
  outcome.synthetics = bitsOf(S.SVOLT.column(0));
  outcome.fits = bitsOf(std::vector<float>{S.layer.RMS, S.layer.PCTERR});
  outcome.equivalent = bitsOf(S.EQUIVA.column(0));
  for (std::size_t j = 1; j < S.EQUIVA.cols(); ++j) {
    const auto more = bitsOf(S.EQUIVA.column(j));
    outcome.equivalent.insert(outcome.equivalent.end(), more.begin(), more.end());
  }
  for (const auto* values : {&S.ERER, &S.PARMIN, &S.PARMAX, &S.ZNMIN, &S.ZNMAX}) {
    const auto more = bitsOf(*values);
    outcome.ranges.insert(outcome.ranges.end(), more.begin(), more.end());
  }
  outcome.messages = toolkit.texts();
  return outcome;
}

TEST_F(WorkerThreads, InversionAndEquivalenceGiveTheSameBitsOnOneAndOnTwoThreads) {
  useThreads(1);
  const Outcome one = invertAndAnalyze();
  useThreads(2);
  const Outcome two = invertAndAnalyze();
  EXPECT_EQ(one.model, two.model);
  EXPECT_EQ(one.synthetics, two.synthetics);
  EXPECT_EQ(one.fits, two.fits);
  EXPECT_EQ(one.resolution, two.resolution);
  EXPECT_EQ(one.equivalent, two.equivalent);
  EXPECT_EQ(one.ranges, two.ranges);
  EXPECT_GT(one.messages.size(), 100u);
  EXPECT_EQ(one.messages, two.messages);
}

TEST_F(WorkerThreads, AnInterruptDuringTheDerivativesLeavesTheModelAsItWas) {
  useThreads(2);
  zeva::test::ScriptedToolkit toolkit;
  Sounding S;
  rippledSounding(S, toolkit);
  const std::vector<float> start = S.M.PAR;
  toolkit.interruptAtPoll = 3;  // after the second derivative run
  RunMonitor monitor(toolkit);
  const InvertManyResult result = InvertMany(S, test::dcRoutine(toolkit), {}, monitor, 1);
  EXPECT_TRUE(result.interrupted);
  EXPECT_EQ(S.M.PAR, start);
  EXPECT_FALSE(core::isSet(S.layer.resolutionValid));
}

TEST(WorkerPool, HandsTheResultsOverInOrderAndDropsTheRestWhenTold) {
  WorkerPool pool(2);
  std::vector<int> done(40, 0);
  std::vector<int> collected;
  pool.run(
      40, [&](int index, int worker) { done[std::size_t(index)] = worker + 1; },
      [&](int index) {
        EXPECT_NE(done[std::size_t(index)], 0);  // finished before it is handed over
        collected.push_back(index);
        return index < 5;
      });
  EXPECT_EQ(collected, (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST(WorkerPool, ThrowsTheFailureOfATaskToTheCaller) {
  WorkerPool pool(2);
  EXPECT_THROW(pool.run(
                   8,
                   [](int index, int) {
                     if (index == 3) throw std::runtime_error("task failed");
                   },
                   [](int) { return true; }),
               std::runtime_error);
  // The pool is still usable.
  int sum = 0;
  pool.run(
      4, [](int, int) {}, [&](int index) { return sum += index, true; });
  EXPECT_EQ(sum, 6);
}

}  // namespace
}  // namespace zeva::inversion
