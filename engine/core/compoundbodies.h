// The blocks of the compound statements (Do, For, ForEach, If, Select,
// With), made by BodyGeneral for the line that opens one.  Each takes the
// lines up to its closing line and holds a BodyGeneral for those inside.
#pragma once

#include <cstdint>
#include <memory>

#include "core/execbody.h"

namespace engine {

// A new block for the statement that `keyword` opens.
std::unique_ptr<ExecBody> newCompoundBody(int32_t keyword);

}  // namespace engine
