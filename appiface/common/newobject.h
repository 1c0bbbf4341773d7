// Objects of the other libraries, created by class ID.
#pragma once

#include <string>

#include "rt/activation.h"
#include "rt/error.h"
#include "rt/text.h"

namespace appiface {

// A new object of class `clsid`, as its interface I; 430 when it has none.
template <class I>
rt::Ref<I> newObject(const rt::Guid& clsid) {
  rt::Ref<I> o = rt::queryRef<I>(rt::createInstance(clsid).get());
  if (!o) rt::raise(rt::err::NoAutomation, rt::ascii(clsid.toString()));
  return o;
}

}  // namespace appiface
