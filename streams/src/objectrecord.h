// The object record: how every stream stores a StreamEnable object.
//
// A record is the class name (a string), the layout version (a Long), then
// whatever the object's streamIO writes, each in the coding of the stream
// that carries it; no length and no end marker.
#pragma once

#include <string_view>

#include "nubrel/vstream.h"

namespace nubrel {

// A null object raises 91.
void writeObject(StreamEnable* obj, VStream& vs);
rt::Ref<StreamEnable> readObject(VStream& vs);
// The steps after the class name: create the class by that name (it must be
// registered and implement StreamEnable), give it the stored version and let
// it read its fields.
rt::Ref<StreamEnable> objectFromRecord(std::u16string_view className, VStream& vs);

}  // namespace nubrel
