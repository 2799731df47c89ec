#include "ui/qt/render/named_views.h"

#include <algorithm>

namespace zeva::ui::qt {

const std::vector<std::string>& viewNames() {
  static const std::vector<std::string> names{"layered", "smooth",        "equivalence", "bostick",
                                              "niblett", "model-on-data", "grid",        "redline",
                                              "voltage", "linear-time"};
  return names;
}

const std::vector<std::string>& reportSectionNames() {
  static const std::vector<std::string> names{"plots",  "worksheet",     "data",
                                              "model",  "bounds",        "resolution",
                                              "smooth", "smooth-bounds", "smooth-resolution"};
  return names;
}

bool applyNamedViews(core::Program& program, const std::vector<std::string>& views) {
  auto named = [&](std::string_view view) { return std::ranges::find(views, view) != views.end(); };
  core::ViewSwitches& v = program.view();
  v.showLayered = named("layered");
  v.showSmooth = named("smooth");
  v.showEquivalence = named("equivalence");
  v.showBostick = named("bostick");
  v.showNiblett = named("niblett");
  v.redLine = named("redline");
  v.voltageView = named("voltage");
  v.linearTime = named("linear-time");
  v.majorGridData = v.minorGridData = v.majorGridModel = v.minorGridModel = named("grid");
  core::CurrentSounding& current = program.current();
  current.modelOnData = core::kFalse;
  if (!named("model-on-data")) return true;
  if (program.display().modelOnDataRefused()) return false;
  current.modelOnData = core::kTrue;
  return true;
}

present::ReportOptions reportOptionsNamed(const std::vector<std::string>& sections) {
  auto named = [&](std::string_view s) { return std::ranges::find(sections, s) != sections.end(); };
  present::ReportOptions o;
  o.plots = named("plots");
  o.worksheet = named("worksheet");
  o.data = named("data");
  o.layeredModel = named("model");
  o.layeredBounds = named("bounds");
  o.layeredResolution = named("resolution");
  o.smoothModel = named("smooth");
  o.smoothBounds = named("smooth-bounds");
  o.smoothResolution = named("smooth-resolution");
  return o;
}

}  // namespace zeva::ui::qt
