#include "builtins/svctypes.h"

#include "rt/convert.h"

namespace engine {

namespace {

// The first argument's text through one of the runtime's conversions: a
// fraction to the nearest whole number (a half to the even one), text
// that does not read and values out of range raise.
template <auto Convert>
rt::Variant convert(const TextArgs& a) {
  return rt::Variant(Convert(rt::Variant(a.text(1))));
}

// CStr and CVar: the argument has already become text.
rt::Variant asText(const TextArgs& a) { return rt::Variant(a.text(1)); }

// In the order the names are tested.  The count is checked before the
// table is searched, so no entry sees a bad count.
const TextFun kCTypes[] = {
    {u"CBool", atLeast(1), &convert<&rt::toBool>, OnBadCount::Zero},
    {u"CByte", atLeast(1), &convert<&rt::toByte>, OnBadCount::Zero},
    {u"CCur", atLeast(1), &convert<&rt::toCurrency>, OnBadCount::Zero},
    {u"CDate", atLeast(1), &convert<&rt::toDate>, OnBadCount::Zero},
    {u"CDbl", atLeast(1), &convert<&rt::toDouble>, OnBadCount::Zero},
    {u"CDec", atLeast(1), &convert<&rt::toDecimal>, OnBadCount::Zero},
    {u"CInt", atLeast(1), &convert<&rt::toInteger>, OnBadCount::Zero},
    {u"CLng", atLeast(1), &convert<&rt::toLong>, OnBadCount::Zero},
    {u"CSng", atLeast(1), &convert<&rt::toSingle>, OnBadCount::Zero},
    {u"CStr", atLeast(1), &asText, OnBadCount::Zero},
    {u"CVar", atLeast(1), &asText, OnBadCount::Zero},
};

}  // namespace

std::span<const TextFun> SvCTypes::functions() { return kCTypes; }

rt::Variant SvCTypes::evalFun(const TextArgs& args) {
  if (args.count() == 0) {
    err_.setCode(ErrMissingArgument, kSource);
    return badCountValue(OnBadCount::Zero);
  }
  return TextLibFun<SvCTypes>::evalFun(args);
}

}  // namespace engine
