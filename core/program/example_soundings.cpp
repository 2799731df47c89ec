#include "core/program/example_soundings.h"

#include "core/program/dc_example_soundings.h"
#include "core/program/em_example_soundings.h"
#include "core/record/data_type.h"

namespace zeva::core {

bool makeExampleSounding(const DataTypeText& type, CurrentSounding& current) {
  if (traitsOf(type).id == DataTypeId::Schlumberger) {
    resetToDefault(current);
    return true;
  }
  if (makeDcResistivityExample(type, current)) return true;
  if (makeElectromagneticExample(type, current)) return true;
  return false;
}

}  // namespace zeva::core
