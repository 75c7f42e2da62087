// The entry points of the steps that count cycles by the classic count.
#include "cpu/entry_points.h"

namespace torva {

constinit const Cpu::EntryPoints Cpu::kClassicEntries = entry_points<CycleModel::Classic>();

} // namespace torva
