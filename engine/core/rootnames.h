// The names a host's root space starts with, the same in both editions:
// "ScriptHost" (the host itself), "New", "Nothing", "CreateObject", the
// output objects "Print", "OutPut" and "OutLine", and the input objects
// "Input" and "GetChar", bound in this order.
#pragma once

#include "core/hostchannel.h"
#include "zorbel/zorbel.h"

namespace engine {

// Binds the names in `root` (with Value set); the input and output objects
// reach `host` through its link.
void bindRootNames(zorbel::ScriptSpace& root, HostChannel& host);

}  // namespace engine
