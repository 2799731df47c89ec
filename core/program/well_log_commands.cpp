// The well-log commands: reading a log with the flat ASCII well-log importer
// and replacing the layered model by the log's step fit.

#include "core/program/well_log_commands.h"

#include <algorithm>
#include <cmath>

#include "core/program/command_guard.h"
#include "core/program/shown_messages.h"
#include "core/program/well_log.h"
#include "core/record/data_type.h"
#include "files/flat_ascii_import.h"
#include "present/sounding_plots.h"

namespace zeva::core {

CommandResult WellLogCommands::importWellLog() {
  const files::FlatAsciiImporter importer = files::flatAsciiImporter(files::FlatAsciiKind::WellLog);
  const auto chosen =
      state_.toolkit().chooseFileToOpen({importer.title, importer.filter}, std::string_view{});
  if (!chosen) return CommandStatus::Cancelled;
  files::FlatAsciiRequest request;
  request.kind = files::FlatAsciiKind::WellLog;
  if (const CommandResult asked = state_.askImportColumns(*chosen, request); !asked) return asked;
  files::WellLog read;
  if (!guarded(state_.toolkit(), [&] {
        return shown(state_.toolkit(),
                     files::readWellLog(*chosen, state_.settings().columns, read));
      }))
    return CommandStatus::Failed;
  WellLog clean = cleanWellLog({std::move(read.depth), std::move(read.resistivity)});
  if (clean.depth.empty()) {
    state_.toolkit().information(std::string(kNoUsableLogMessage) + *chosen);
    return CommandStatus::Refused;
  }
  wellLog_ = std::move(clean);
  wellLogName_ = files::soundingNameOf(*chosen);
  return CommandStatus::Done;
}

void WellLogCommands::setWellLog(WellLog log, std::string name) {
  wellLog_ = cleanWellLog(log);
  wellLogName_ = std::move(name);
}

CommandResult WellLogCommands::setModelFromWellLog(int layers) {
  if (wellLog_.depth.empty()) {
    state_.toolkit().information(kNoWellLogMessage);
    return CommandStatus::Refused;
  }
  const LogSegmentation fit = segmentWellLog(wellLog_, std::max(1, layers));
  // Readings at one depth can leave a layer without thickness; it merges with
  // the layer above.
  std::vector<float> resistivity{fit.resistivity.front()}, depth;
  for (std::size_t j = 0; j < fit.bottomDepth.size(); ++j) {
    const float d = fit.bottomDepth[j];
    if (d > 0.0f && (depth.empty() || d > depth.back())) {
      depth.push_back(d);
      resistivity.push_back(fit.resistivity[j + 1]);
    }
  }
  const Sounding& S = state_.S();
  LayeredModelRequest request;
  request.depths = isSet(S.model.depths);
  float above = 0.0f;
  for (float d : depth) {
    request.geometry.push_back(request.depths ? d : d - above);
    above = d;
  }
  // Conductivity models hold mS/m.
  const bool conductivity = traitsOf(S.header.dataType).conductivityModel;
  for (float rho : resistivity) request.resistivity.push_back(conductivity ? 1000.0f / rho : rho);
  // IP parameters are kept from the old model at each new layer's middle.
  if (S.NPK() > 1 && S.hasModel()) {
    const present::ModelColumns old = present::modelColumns(S);
    for (std::size_t i = 0; i < resistivity.size(); ++i) {
      const float top = i == 0 ? 0.0f : depth[i - 1];
      const float middle = i < depth.size() ? 0.5f * (top + depth[i]) : 2.0f * top + 1.0f;
      std::size_t layer = 0;
      while (layer < old.bottomDepth.size() && middle > old.bottomDepth[layer]) ++layer;
      request.ip.push_back(layer < old.ip.size() ? old.ip[layer] : 0.0f);
    }
  }
  if (const CommandResult set = model_.setLayeredModel(request); !set) return set;
  state_.runForwardQuietly();
  state_.requestAutoscale();
  state_.toolkit().requestRedraw();
  return CommandStatus::Done;
}

}  // namespace zeva::core
