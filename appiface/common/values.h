// The script values the interface hands to scripts, made by the libraries
// that own them: the value types by class ID (the string by ProgID), the
// engine's plain holder by the running edition's class ID.
#pragma once

#include <string_view>

#include "jespin/values.h"
#include "rt/variant.h"
#include "zorbel/zorbel.h"

namespace appiface {

// A "Fennick.SvBoolean" holding `b`.
rt::Ref<zorbel::ScriptValue> booleanValue(bool b);
// An answer as a script value: an object in a "Fennick.SvObject" (set), any
// other value in a "Fennick.SvVariant" (let).
rt::Ref<zorbel::ScriptValue> answerValue(const rt::Variant& v);
// A "Fennick.SvCollection" of every answer in `answers`, in order, each
// made by answerValue and added through the collection's Add.
rt::Ref<zorbel::ScriptValue> collectionValue(jespin::IVValues& answers);
// A "Fennick.SvObject" holding the object in `v`; 424 when `v` holds none.
rt::Ref<zorbel::ScriptValue> objectValue(const rt::Variant& v);
// A value created by the ProgID "Fennick.SvString", holding `text`.
rt::Ref<zorbel::ScriptValue> textValue(std::u16string_view text);
// The engine's SvSingle holding `text`.
rt::Ref<zorbel::ScriptValue> singleValue(std::u16string_view text);

// The first answer in a command's answer list (raises when it has none).
rt::Variant firstAnswer(jespin::IVValues& answers);

// A new, empty value list ("Jespin.VValues").
rt::Ref<jespin::IVValues> newList();

}  // namespace appiface
