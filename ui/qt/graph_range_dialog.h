#pragma once
// The properties of one graph of the plots that zoom mode offers on a right
// click: the value ranges of its two axes. The axes are then set to the whole
// decades (or round steps) that enclose the ranges.

#include "core/current_sounding.h"
#include "core/program/model_editing.h"
#include "ui/toolkit.h"

class QWidget;

namespace zeva::qt {

inline constexpr std::string_view kRangeRefusedMessage =
    "The axes cannot show this range: it needs an extent, and positive values on a logarithmic "
    "axis";

// Shows the dialog for the graph `pick`; true when the axes were changed.
// Ranges the axes cannot show are refused with the message above.
bool editGraphRange(QWidget* parent, core::CurrentSounding& current, core::GraphPick pick,
                    ui::Toolkit& toolkit);

}  // namespace zeva::qt
