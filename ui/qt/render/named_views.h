#pragma once
// The words that scripts use to choose what a plot shows and which sections
// a report holds: zeva-cli's --view and --sections and the Python module's
// arguments take the same names.

#include <string>
#include <vector>

#include "core/program/program.h"
#include "present/print_report.h"

namespace zeva::ui::qt {

// layered, smooth, equivalence, bostick, niblett, model-on-data, grid,
// redline, voltage, linear-time.
const std::vector<std::string>& viewNames();
// plots, worksheet, data, model, bounds, resolution, smooth, smooth-bounds,
// smooth-resolution.
const std::vector<std::string>& reportSectionNames();

// Sets the view switches to exactly the named views; false after the
// message when model on data is refused for the data type.
bool applyNamedViews(core::Program& program, const std::vector<std::string>& views);

// The report options with exactly the named sections.
present::ReportOptions reportOptionsNamed(const std::vector<std::string>& sections);

}  // namespace zeva::ui::qt
