#pragma once

// The template statements live with the Templates table; this name stays until the options
// dialog includes that header itself.
#include "core/catalogue/TemplatesTable.h"

namespace zelvarion {
namespace templateSql = templatesTable;
} // namespace zelvarion
