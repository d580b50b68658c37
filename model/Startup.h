#pragma once

#include "ProjectModel.h"

namespace tamsor {

// The first four start-up steps, before any window exists: write the constant
// load-code tables, the scalar defaults, and create the input lists. The
// program's entry and the tests call this on a freshly constructed record.
void initializeProject(ProjectModel& model);

} // namespace tamsor
