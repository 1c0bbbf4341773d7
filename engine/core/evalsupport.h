// Evaluator routines the statement executors and the libraries use too.
#pragma once

#include <cstdint>

#include "rt/variant.h"
#include "zorbel/zorbel.h"

namespace engine {

class SvGeneral;

// The truth of a plain value: an object is true unless it is Nothing, a
// text when it is not empty, anything else when it is not 0 (Null is true:
// it is not equal to 0).
bool truthOf(const rt::Variant& v);

// The truth of a value object; null is false.
bool valueToBool(zorbel::ScriptValue* v);

// The value of a binary operator of arithmetic, text join or comparison
// (comparisons in text mode) on two plain values; any other code compares
// for equality.
rt::Variant binaryValue(int32_t code, const rt::Variant& a, const rt::Variant& b);

// Whether the argument object of a call is a list of arguments: the
// evaluator's argument list, or a general value's sub-values (f(x) passes
// x's items).  Any other value, a collection too, is one argument.
bool isArgumentList(zorbel::ScriptValue& sv);

// Appends `v` to an argument list: the items of a list one by one (one
// level only), anything else as one item.
void addFlatSubs(SvGeneral& target, zorbel::ScriptValue& v);

}  // namespace engine
