// Letting go of a space's values at its host's FreeAll, rings of general
// values included (rings.cpp).
#pragma once

namespace engine {

class ScriptValues;

// Breaks every ring of general values that only the values of `bindings`
// reach, the bindings about to be let go: "Set s.Parent = s" makes s hold
// an attribute that holds s, which counted references alone never free.
// A value that anything else holds (the host program, a collection) keeps
// all it reaches as it is.
void breakRings(const ScriptValues& bindings);

}  // namespace engine
