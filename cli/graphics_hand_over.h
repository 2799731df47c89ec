#pragma once
// zeva-cli does not load Qt, so that every verb starts at once. The verbs
// that draw (plot, report, section) are run by zeva-cli-graphics, which is installed
// beside it: zeva-cli replaces itself with that program, arguments unchanged.

#include <iosfwd>
#include <string_view>

namespace zeva::cli {

inline constexpr const char* kGraphicsProgram = "zeva-cli-graphics";
inline constexpr const char* kSectionDescription =
    "Draw the section of a survey's models into a PNG, SVG, PDF or DXF file";

bool isGraphicsVerb(std::string_view verb);

// Runs zeva-cli-graphics from the folder of this executable with `argv`.
// Returns only when it cannot be run, with status 1 after a message.
int handOverToGraphics(char** argv, std::ostream& err);

}  // namespace zeva::cli
