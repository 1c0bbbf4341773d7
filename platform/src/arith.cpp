// Placeholder definitions until the operators are built.
#include "rt/ops.h"
#include "rt/error.h"

namespace rt {
namespace {
[[noreturn]] void todo() { raise(err::Internal, u"not built yet"); }
}  // namespace
Variant opAdd(const Variant&, const Variant&) { todo(); }
Variant opSub(const Variant&, const Variant&) { todo(); }
Variant opMul(const Variant&, const Variant&) { todo(); }
Variant opDiv(const Variant&, const Variant&) { todo(); }
Variant opIdiv(const Variant&, const Variant&) { todo(); }
Variant opMod(const Variant&, const Variant&) { todo(); }
Variant opPow(const Variant&, const Variant&) { todo(); }
Variant opCat(const Variant&, const Variant&) { todo(); }
Variant opNeg(const Variant&) { todo(); }
Cmp compare(const Variant&, const Variant&, CompareMode) { todo(); }
Variant opEq(const Variant&, const Variant&, CompareMode) { todo(); }
Variant opNe(const Variant&, const Variant&, CompareMode) { todo(); }
Variant opLt(const Variant&, const Variant&, CompareMode) { todo(); }
Variant opLe(const Variant&, const Variant&, CompareMode) { todo(); }
Variant opGt(const Variant&, const Variant&, CompareMode) { todo(); }
Variant opGe(const Variant&, const Variant&, CompareMode) { todo(); }
bool like(std::u16string_view, std::u16string_view, CompareMode) { todo(); }
Variant opLike(const Variant&, const Variant&, CompareMode) { todo(); }
int compareText(std::u16string_view, std::u16string_view, CompareMode) { todo(); }
}  // namespace rt
