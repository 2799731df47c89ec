#pragma once
// The "Shift Data Options" dialog of Edit, Shift Data Segments: how the
// segments of a Schlumberger sounding are brought into line (to the long- or
// the short-spacing segment, or not at all) and what is shifted (the data,
// which merges the overlapping points, or the synthetics).

#include <QDialog>
#include <QStringList>
#include <optional>
#include <utility>

class QButtonGroup;

namespace zeva::ui::qt {

class ShiftOptionsDialog : public QDialog {
 public:
  // `mode` and `target` are the header's SHIFT choices, 1-based.
  ShiftOptionsDialog(int mode, int target, QWidget* parent = nullptr);

  // The chosen mode (1 long spacing, 2 short spacing, 3 no shift) and target
  // (1 data, 2 synthetics).
  int mode() const;
  int target() const;

 private:
  // A titled group of exclusive choices numbered from 1, `current` checked.
  QButtonGroup* addChoices(const QString& title, const QStringList& choices, int current);

  QButtonGroup* modes_ = nullptr;
  QButtonGroup* targets_ = nullptr;
};

// Shows the dialog; the chosen mode and target, or nothing when cancelled.
std::optional<std::pair<int, int>> askShiftOptions(QWidget* parent, int mode, int target);

}  // namespace zeva::ui::qt
