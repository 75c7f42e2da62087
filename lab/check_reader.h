// Reading one [[check]] table of a lab file into the lab.
#pragma once

#include "lab/lab.h"
#include "lab/toml_document.h"

namespace torva::lab {

// Adds the check to the lab (and its stop location to the lab's stops);
// throws LabFault on a slip.
void read_check(const TomlNode& table, Lab& lab);

} // namespace torva::lab
