// One token: its code word and its text or literal value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/tokencode.h"
#include "nubrel/vstream.h"
#include "rt/variant.h"

namespace engine {

struct ExpItem {
  int32_t iType = tok::Name;  // the code word (tokencode.h)
  // A name, keyword or operator as written, or a literal's value (String,
  // Long, Double or Date).  Keywords and operators read from a stream have
  // no text.
  rt::Variant iValue;

  bool isKey() const { return tok::isKeyword(iType); }
  // A name's text; empty for a token that carries none.
  std::u16string_view name() const {
    return iValue.isText() ? std::u16string_view(iValue.text()) : std::u16string_view();
  }
  int32_t opRight() const { return tok::priorityOf(iType); }
  // The token as script text: keywords and operators by their code, strings
  // quoted, dates between "#".
  std::u16string toString() const;

  // The token form: the code, then a value chosen by the code.
  void writeStream(nubrel::VStream& vs) const;
  void readStream(nubrel::VStream& vs);
};

}  // namespace engine
