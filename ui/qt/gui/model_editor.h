#pragma once
// The model editor: a grid of the layered model with one row per layer, the
// NPK parameter columns (resistivity, or conductivity for EM conductivity
// data, then the IP parameter) and the thickness or bottom-depth column; the
// check box of each cell holds the parameter fixed. Layers can be added and
// deleted, the geometry column switched between thicknesses and depths, and
// the Forward button computes the response of the grid's model at once.

#include <QDialog>
#include <functional>

#include "core/program/model_commands.h"
#include "core/record/sounding.h"
#include "ui/toolkit/toolkit.h"

class QCheckBox;
class QTableWidget;

namespace zeva::ui::qt {

class ModelEditor : public QDialog {
 public:
  // `apply` gives a model to the program (false when refused, with its
  // message); `forward` runs the forward routine on the applied model.
  ModelEditor(const core::Sounding& S, ui::Toolkit& toolkit,
              std::function<bool(const core::LayeredModelRequest&)> apply,
              std::function<void()> forward, QWidget* parent = nullptr);

  // The grid's model as lists; empty when a cell is not a number.
  std::optional<core::LayeredModelRequest> request() const;
  QTableWidget* grid() const { return grid_; }
  QCheckBox* depthsSwitch() const { return depths_; }

  void addLayer();
  void deleteLayer();
  // "&Forward": the grid's model becomes the program's and is computed.
  void forwardRun();
  void accept() override;

 private:
  void setValue(int row, int column, float value, bool fixed);
  void switchGeometry(bool toDepths);
  bool applyGrid();

  ui::Toolkit& toolkit_;
  int npk_ = 1;
  QTableWidget* grid_ = nullptr;
  QCheckBox* depths_ = nullptr;
  std::function<bool(const core::LayeredModelRequest&)> apply_;
  std::function<void()> forward_;
};

}  // namespace zeva::ui::qt
