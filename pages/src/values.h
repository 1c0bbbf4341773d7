// The script values the page library hands out as results, made on the
// spot by the libraries that own them.
#pragma once

#include <string_view>

#include "rt/variant.h"
#include "zorbel/zorbel.h"

namespace halvorn {

// A "Kestrin.SvSingle" holding `v`.
rt::Ref<zorbel::ScriptValue> singleValue(const rt::Variant& v);
// A value of the value-type library by its ProgID ("Fennick.SvBoolean"),
// holding `v` (let).
rt::Ref<zorbel::ScriptValue> typedValue(std::u16string_view progId, const rt::Variant& v);
// A "Fennick.SvObject" holding the object `v` holds (set).
rt::Ref<zorbel::ScriptValue> objectValue(const rt::Variant& v);

}  // namespace halvorn
