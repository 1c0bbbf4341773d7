// The operators of the automation variant rules: result types, overflow
// promotion (Integer to Long to Double), Null propagation and Empty as 0 or "".
//
// Failures raise RuntimeError (13 type mismatch, 6 overflow, 11 division by
// zero, 94 invalid use of Null where Null cannot pass).
#pragma once

#include <string_view>

#include "rt/api.h"
#include "rt/variant.h"

namespace rt {

RT_API Variant opAdd(const Variant& a, const Variant& b);
RT_API Variant opSub(const Variant& a, const Variant& b);
RT_API Variant opMul(const Variant& a, const Variant& b);
RT_API Variant opDiv(const Variant& a, const Variant& b);   // "/"
RT_API Variant opIdiv(const Variant& a, const Variant& b);  // "\"
RT_API Variant opMod(const Variant& a, const Variant& b);
RT_API Variant opPow(const Variant& a, const Variant& b);
RT_API Variant opCat(const Variant& a, const Variant& b);   // "&"
RT_API Variant opNeg(const Variant& a);                     // unary "-"

enum class CompareMode { Binary, Text };

// Result of a comparison; Null when either side is Null.
enum class Cmp { Less = -1, Equal = 0, Greater = 1, Null = 2 };
RT_API Cmp compare(const Variant& a, const Variant& b, CompareMode mode);

// Comparisons as operators: a Boolean, or Null.
RT_API Variant opEq(const Variant& a, const Variant& b, CompareMode mode);
RT_API Variant opNe(const Variant& a, const Variant& b, CompareMode mode);
RT_API Variant opLt(const Variant& a, const Variant& b, CompareMode mode);
RT_API Variant opLe(const Variant& a, const Variant& b, CompareMode mode);
RT_API Variant opGt(const Variant& a, const Variant& b, CompareMode mode);
RT_API Variant opGe(const Variant& a, const Variant& b, CompareMode mode);

// Like: "?" one character, "*" any run, "#" one digit, "[abc]", "[!abc]",
// "[a-z]" ranges.  Text mode ignores case.  A malformed pattern (an unclosed
// "[") raises 93.
RT_API bool like(std::u16string_view text, std::u16string_view pattern, CompareMode mode);
RT_API Variant opLike(const Variant& text, const Variant& pattern, CompareMode mode);

// Text comparison of two texts (StrComp): -1, 0 or 1.
RT_API int compareText(std::u16string_view a, std::u16string_view b, CompareMode mode);

}  // namespace rt
