#include "python/sounding_session.h"

#include <stdexcept>

#include "core/program/sounding_record.h"

namespace zeva::python {

std::unique_ptr<SoundingSession> SoundingSession::copy() {
  auto result = std::make_unique<SoundingSession>();
  // The record cannot be copied member by member (S and SM share their
  // data): its native-file bytes hold all of it.
  const std::string bytes = core::recordBytes(program.current(), toolkit);
  if (!core::restoreRecord(bytes, result->program.current(), result->toolkit))
    throw std::runtime_error("CANNOT COPY THE SOUNDING");
  result->program.S().layer.saved = program.S().layer.saved;
  result->program.S().robust = program.S().robust;
  result->program.S().huberWeights = program.S().huberWeights;
  result->program.view() = program.view();
  result->lastRun = lastRun;
  result->fitSteps = fitSteps;
  return result;
}

}  // namespace zeva::python
