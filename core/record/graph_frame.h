#pragma once
// One log-cycle graph frame: where the graph sits on the 10 x 8 page, how many
// decades (or linear steps) each axis spans and how values map to the page.
// The data plot and the model plot have two frames each; they are saved in the
// native file in exactly this 144-byte little-endian layout.

#include <cstddef>
#include <cstdint>

#include "core/record/logical.h"

namespace zeva::core {

struct GraphFrame {
  float originX = 0.0f, originY = 0.0f;
  float xCycleLength = 0.0f,
        yCycleLength = 0.0f;             // page units per cycle; negative runs left or down
  float xStart = 0.0f, yStart = 0.0f;    // value at the first boundary of a linear axis
  float xStep = 0.0f, yStep = 0.0f;      // 0: logarithmic axis
  float xOffset = 0.0f, yOffset = 0.0f;  // value-to-page mapping
  float xSlope = 0.0f, ySlope = 0.0f;
  float tickCap = 0.0f;
  float extentLeft = 0.0f, extentRight = 0.0f, extentBottom = 0.0f;  // reached by labels
  float clipXMin = 0.0f, clipXMax = 0.0f, clipYMin = 0.0f, clipYMax = 0.0f;
  std::int32_t xCycles = 0, yCycles = 0;  // a negative y count draws only bottom and top
  std::int32_t xExponentOrDivisions = 0, yExponentOrDivisions = 0;
  std::int32_t symbolCode = 1;
  std::int32_t reserved100 = 0, reserved104 = 0;
  Logical xLogarithmic = kFalse, yLogarithmic = kFalse;
  Logical capTicks = kFalse;
  Logical alternateSymbol = kFalse;
  Logical noSegments = kFalse;
  Logical thinLines = kFalse;
  Logical labelsBelowX = kFalse, labelsLeftOfY = kFalse, labelsRightOfY = kFalse;
};

static_assert(sizeof(GraphFrame) == 144);
static_assert(offsetof(GraphFrame, xCycleLength) == 8);
static_assert(offsetof(GraphFrame, xStart) == 16);
static_assert(offsetof(GraphFrame, xStep) == 24);
static_assert(offsetof(GraphFrame, xOffset) == 32);
static_assert(offsetof(GraphFrame, xSlope) == 40);
static_assert(offsetof(GraphFrame, tickCap) == 48);
static_assert(offsetof(GraphFrame, extentLeft) == 52);
static_assert(offsetof(GraphFrame, clipXMin) == 64);
static_assert(offsetof(GraphFrame, clipYMax) == 76);
static_assert(offsetof(GraphFrame, xCycles) == 80);
static_assert(offsetof(GraphFrame, yCycles) == 84);
static_assert(offsetof(GraphFrame, xExponentOrDivisions) == 88);
static_assert(offsetof(GraphFrame, yExponentOrDivisions) == 92);
static_assert(offsetof(GraphFrame, symbolCode) == 96);
static_assert(offsetof(GraphFrame, reserved100) == 100);
static_assert(offsetof(GraphFrame, xLogarithmic) == 108);
static_assert(offsetof(GraphFrame, yLogarithmic) == 112);
static_assert(offsetof(GraphFrame, capTicks) == 116);
static_assert(offsetof(GraphFrame, alternateSymbol) == 120);
static_assert(offsetof(GraphFrame, noSegments) == 124);
static_assert(offsetof(GraphFrame, thinLines) == 128);
static_assert(offsetof(GraphFrame, labelsBelowX) == 132);
static_assert(offsetof(GraphFrame, labelsLeftOfY) == 136);
static_assert(offsetof(GraphFrame, labelsRightOfY) == 140);

}  // namespace zeva::core
