// The runtime's error object: what a trapped failure looks like to code that
// reads an error by member name (Number, Source, Description), such as an
// error record's ReadSysErr.
#pragma once

#include "rt/api.h"
#include "rt/error.h"
#include "rt/object.h"

namespace rt {

RT_API Ref<Object> errorObject(const RuntimeError& e);

}  // namespace rt
