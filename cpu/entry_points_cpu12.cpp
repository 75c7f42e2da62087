// The entry points of the steps that count cycles by the CPU12 manual's counts.
#include "cpu/entry_points.h"

namespace torva {

constinit const Cpu::EntryPoints Cpu::kCpu12Entries = entry_points<CycleModel::Cpu12>();

} // namespace torva
