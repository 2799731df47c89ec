#include "core/program/example_soundings.h"

#include "core/record/data_type.h"
#include "core/program/dc_example_soundings.h"
#include "core/program/em_example_soundings.h"

namespace zeva::core {

bool makeExampleSounding(const DataTypeText& type, CurrentSounding& current) {
  if (type == type::kSchlumberger) {
    resetToDefault(current);
    return true;
  }
  if (makeDcResistivityExample(type, current)) return true;
  if (makeElectromagneticExample(type, current)) return true;
  return false;
}

}  // namespace zeva::core
