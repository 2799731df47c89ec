#include "present/plot_parts.h"

namespace zeva::present {

namespace {

float capHeight(float nominal) { return kEmPerNominalHeight * kCapHeightPerEm * nominal; }

}  // namespace

PageRect clipRect(const GraphFrame& g) { return {g.clipXMin, g.clipXMax, g.clipYMin, g.clipYMax}; }

PageRect frameRect(const GraphFrame& g) {
  const float l = frameLeft(g), b = frameBottom(g);
  return {l, l + frameWidth(g), b, b + frameHeight(g)};
}

void moveOriginTo(Plotter& plotter, float x, float y) {
  plotter.Plot(x - plotter.originX(), y - plotter.originY(), -kPenUp);
}

void clearExtents(GraphFrame& g) {
  const PageRect r = frameRect(g);
  g.extentLeft = r.xMin;
  g.extentRight = r.xMax;
  g.extentBottom = r.yMin;
}

void writeAxisTitles(Plotter& plotter, const GraphFrame& g, const PlotSettings& s,
                     const std::string* bottom, const std::string* left, const std::string* right) {
  const PageRect r = frameRect(g);
  const float th = s.axisTitleHeight;
  if (bottom && core::isSet(g.labelsBelowX)) {
    const float y = g.extentBottom - 0.5f * th - capHeight(th) - s.axisTitleOffsetY;
    plotter.SymbolCentred((r.xMin + r.xMax) / 2.0f, y, th, *bottom, 0.0f,
                          static_cast<int>(bottom->size()));
  }
  if (left && core::isSet(g.labelsLeftOfY)) {
    const float x = g.extentLeft - 0.55f * th - s.axisTitleOffsetX;
    plotter.SymbolCentred(x, (r.yMin + r.yMax) / 2.0f, th, *left, 90.0f,
                          static_cast<int>(left->size()));
  }
  if (right && core::isSet(g.labelsRightOfY)) {
    const float x = g.extentRight + 0.55f * th + capHeight(th) + s.axisTitleOffsetX;
    plotter.SymbolCentred(x, (r.yMin + r.yMax) / 2.0f, th, *right, 90.0f,
                          static_cast<int>(right->size()));
  }
}

}  // namespace zeva::present
