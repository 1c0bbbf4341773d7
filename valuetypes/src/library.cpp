// The classes of the value-type library and its entry points.
#include "rt/library.h"

#include "bound.h"
#include "collection.h"
#include "objectvalue.h"
#include "scalars.h"

namespace {

template <class T>
rt::Ref<rt::Object> create() {
  return rt::make<T>();
}

#define FENNICK_CLASS(name) \
  { "Fennick." #name, rt::classIdOf("Fennick." #name), &create<fennick::name> }

const rt::ClassEntry kClasses[] = {
    FENNICK_CLASS(SvBoolean), FENNICK_CLASS(SvString),     FENNICK_CLASS(SvLong),
    FENNICK_CLASS(SvDate),    FENNICK_CLASS(SvDouble),     FENNICK_CLASS(SvInteger),
    FENNICK_CLASS(SvVariant), FENNICK_CLASS(SvCollection), FENNICK_CLASS(SvObject),
    FENNICK_CLASS(SvCollFns), FENNICK_CLASS(SvObjFns),     FENNICK_CLASS(SvObjAttr),
};

#undef FENNICK_CLASS

}  // namespace

ZUB_LIBRARY_ENTRY_POINTS(kClasses)
