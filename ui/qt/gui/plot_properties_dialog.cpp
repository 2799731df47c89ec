#include "ui/qt/gui/plot_properties_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zeva::ui::qt {

namespace {

QDoubleSpinBox* heightBox(const char* name, double value, double maximum, QWidget* parent) {
  auto* box = new QDoubleSpinBox(parent);
  box->setObjectName(name);
  box->setRange(0.0, maximum);
  box->setDecimals(3);
  box->setSingleStep(0.01);
  box->setValue(value);
  return box;
}

// Colours are indices into the plot palette of sixteen colours.
QSpinBox* indexBox(const char* name, int value, int low, int high, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  box->setRange(low, high);
  box->setValue(value);
  return box;
}

}  // namespace

PlotPropertiesDialog::PlotPropertiesDialog(const core::ViewSwitches& view,
                                           const present::PlotSettings& appearance,
                                           const core::CurrentSounding& current, QWidget* parent)
    : QDialog(parent), view_(view) {
  setObjectName("propertiesDialog");
  setWindowTitle(tr("Plot Properties"));
  auto* layout = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  layout->addLayout(left);
  layout->addLayout(right);

  auto* shown = new QGroupBox(tr("Show"), this);
  auto* grid = new QGridLayout(shown);
  using V = core::ViewSwitches;
  const std::pair<const char*, bool V::*> entries[] = {
      {"&Layered model", &V::showLayered},         {"&Smooth model", &V::showSmooth},
      {"&Equivalent models", &V::showEquivalence}, {"&Bostick model (MT)", &V::showBostick},
      {"&Niblett model (MT)", &V::showNiblett},    {"&Red line 10 ohm-m, 1 Hz (MT)", &V::redLine},
      {"Major grid on data", &V::majorGridData},   {"Minor grid on data", &V::minorGridData},
      {"Major grid on model", &V::majorGridModel}, {"Minor grid on model", &V::minorGridModel}};
  int row = 0;
  for (auto [text, flag] : entries) {
    auto* check = new QCheckBox(tr(text), shown);
    check->setChecked(view.*flag);
    switches_.emplace_back(flag, check);
    grid->addWidget(check, row % 6, row / 6);
    ++row;
  }
  left->addWidget(shown);

  auto* frames = new QGroupBox(tr("Graph frames"), this);
  auto* frameForm = new QFormLayout(frames);
  symbol_ = indexBox("plotSymbol", current.dataFrames[0].symbolCode, 1, 11, frames);
  frameForm->addRow(tr("Data s&ymbol:"), symbol_);
  thinData_ = new QCheckBox(tr("Thin lines on the &data plot"), frames);
  thinData_->setChecked(core::isSet(current.dataFrames[0].thinLines));
  thinModel_ = new QCheckBox(tr("Thin lines on the &model plot"), frames);
  thinModel_->setChecked(core::isSet(current.modelFrames[0].thinLines));
  frameForm->addRow(thinData_);
  frameForm->addRow(thinModel_);
  left->addWidget(frames);

  auto* texts = new QGroupBox(tr("Texts and symbols (inches)"), this);
  auto* textForm = new QFormLayout(texts);
  titleHeight_ = heightBox("titleHeight", appearance.titleHeight, 1.0, texts);
  labelHeight_ = heightBox("labelHeight", appearance.labelHeight, 1.0, texts);
  axisTitleHeight_ = heightBox("axisTitleHeight", appearance.axisTitleHeight, 1.0, texts);
  symbolSize_ = heightBox("symbolSize", appearance.symbolSizeFactor, 0.1, texts);
  symbolSize_->setSingleStep(0.001);
  textForm->addRow(tr("&Title height:"), titleHeight_);
  textForm->addRow(tr("L&abel height:"), labelHeight_);
  textForm->addRow(tr("A&xis title height:"), axisTitleHeight_);
  textForm->addRow(tr("Symbol si&ze (of the plot width):"), symbolSize_);
  right->addWidget(texts);

  auto* colours = new QGroupBox(tr("Colours (palette index)"), this);
  auto* colourForm = new QFormLayout(colours);
  layeredColour_ = indexBox("layeredColour", appearance.layeredColour, 0, 15, colours);
  smoothColour_ = indexBox("smoothColour", appearance.secondModelColour, 0, 15, colours);
  equivalenceColour_ = indexBox("equivalenceColour", appearance.equivalenceColour, 0, 15, colours);
  frameColour_ = indexBox("frameColour", appearance.frameColour, 0, 15, colours);
  colourForm->addRow(tr("Layered model:"), layeredColour_);
  colourForm->addRow(tr("Smooth model:"), smoothColour_);
  colourForm->addRow(tr("Equivalent models:"), equivalenceColour_);
  colourForm->addRow(tr("Frames:"), frameColour_);
  segmentColouring_ = new QCheckBox(tr("Colour &Schlumberger segments alternately"), colours);
  segmentColouring_->setChecked(appearance.segmentColouring);
  colourForm->addRow(segmentColouring_);
  separation_ = heightBox("segmentSeparation", appearance.segmentSeparation, 2.0, colours);
  colourForm->addRow(tr("Segment se&paration:"), separation_);
  right->addWidget(colours);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  right->addStretch();
  right->addWidget(buttons);
}

core::ViewSwitches PlotPropertiesDialog::view() const {
  core::ViewSwitches view = view_;
  for (const auto& [flag, check] : switches_) view.*flag = check->isChecked();
  view.majorGridData = view.majorGridData || view.minorGridData;
  view.majorGridModel = view.majorGridModel || view.minorGridModel;
  return view;
}

present::PlotSettings PlotPropertiesDialog::appearance(present::PlotSettings appearance) const {
  appearance.titleHeight = static_cast<float>(titleHeight_->value());
  appearance.labelHeight = static_cast<float>(labelHeight_->value());
  appearance.axisTitleHeight = static_cast<float>(axisTitleHeight_->value());
  appearance.symbolSizeFactor = static_cast<float>(symbolSize_->value());
  appearance.layeredColour = layeredColour_->value();
  appearance.secondModelColour = smoothColour_->value();
  appearance.equivalenceColour = equivalenceColour_->value();
  appearance.frameColour = frameColour_->value();
  appearance.segmentColouring = segmentColouring_->isChecked();
  appearance.segmentSeparation = static_cast<float>(separation_->value());
  return appearance;
}

void PlotPropertiesDialog::applyToFrames(core::CurrentSounding& current) const {
  for (core::GraphFrame& g : current.dataFrames) {
    g.symbolCode = symbol_->value();
    g.thinLines = core::logical(thinData_->isChecked());
  }
  for (core::GraphFrame& g : current.modelFrames)
    g.thinLines = core::logical(thinModel_->isChecked());
}

namespace {

// The captions of the settings file and the axis titles they replace.
using present::AxisTitle;
using Caption = std::string settings::GraphTexts::*;
constexpr std::pair<Caption, AxisTitle> kCaptions[] = {
    {&settings::GraphTexts::resistivity, AxisTitle::ApparentResistivity},
    {&settings::GraphTexts::spacing, AxisTitle::Spacing},
    {&settings::GraphTexts::modelResistivity, AxisTitle::Resistivity},
    {&settings::GraphTexts::depth, AxisTitle::Depth},
    {&settings::GraphTexts::time, AxisTitle::Time},
    {&settings::GraphTexts::period, AxisTitle::Period},
    {&settings::GraphTexts::frequency, AxisTitle::Frequency},
    {&settings::GraphTexts::voltage, AxisTitle::ReceivedVoltage},
    {&settings::GraphTexts::phase, AxisTitle::Phase},
    {&settings::GraphTexts::inPhaseQuadrature, AxisTitle::InPhaseAndQuadrature},
    {&settings::GraphTexts::height, AxisTitle::Height},
    {&settings::GraphTexts::ipEffect, AxisTitle::IpEffect},
    {&settings::GraphTexts::ipEffectModel, AxisTitle::IpEffectSecond},
    {&settings::GraphTexts::nSpacing, AxisTitle::NSpacing}};

}  // namespace

present::PlotSettings plotAppearanceOf(const settings::GraphTexts& texts) {
  present::PlotSettings appearance;
  for (auto [caption, title] : kCaptions) {
    const std::string& text = texts.*caption;
    // A blank caption keeps the built-in title.
    if (text.find_first_not_of(' ') != std::string::npos)
      appearance.axisTitles.titles[static_cast<std::size_t>(title)] =
          text.substr(0, present::kAxisTitleWidth);
  }
  if (texts.nameHeight > 0.0f && texts.nameHeight <= 1.0f)
    appearance.titleHeight = texts.nameHeight;
  return appearance;
}

void storePlotAppearance(const present::PlotSettings& appearance, settings::GraphTexts& texts) {
  texts.nameHeight = appearance.titleHeight;
}

}  // namespace zeva::ui::qt
