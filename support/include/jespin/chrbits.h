// A set of single-byte character codes (1 to 255), as other libraries see it.
//
// A character's code is the code of the first character of a text in the
// system code page; a character whose code is not in 1 to 255 is never a
// member.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "rt/activation.h"
#include "rt/object.h"
#include "rt/variant.h"

namespace jespin {

class IChrBits : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Jespin.IChrBits");
  static constexpr rt::Guid clsid = rt::classIdOf("Jespin.ChrBits");

  // Each item read as text: one character adds its code, three characters
  // add the range from the first to the third (the middle one is not looked
  // at), any other length nothing.
  virtual void add(std::span<const rt::Variant> items) = 0;
  // Codes outside 1 to 255 are ignored.
  virtual void addInt(int32_t code) = 0;
  // The code of the first character; an empty text raises 5.
  virtual void addChar(std::u16string_view s) = 0;
  // Whether the first character's code is a member; an empty text raises 5.
  virtual bool isIn(std::u16string_view s) const = 0;
  virtual void clear() = 0;
};

}  // namespace jespin
