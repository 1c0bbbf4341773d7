#include "builtins/svmathfuns.h"

#include <cmath>
#include <span>

#include "builtins/random.h"
#include "builtins/svsingle.h"
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/ops.h"

namespace engine {

namespace {

// A numeric argument as the whole-number functions see it: Empty and
// Boolean as Integer, text as Double; `keepDate` keeps a Date a Date.
rt::Variant numeric(const rt::Variant& x, bool keepDate) {
  rt::Variant v = rt::valueOf(x);
  switch (v.type()) {
    case rt::VT::Empty: return rt::Variant(int16_t{0});
    case rt::VT::Boolean: return rt::Variant(static_cast<int16_t>(v.boolean() ? -1 : 0));
    case rt::VT::String: return rt::Variant(rt::toDouble(v));
    case rt::VT::Date: return keepDate ? v : rt::Variant(v.date().serial);
    case rt::VT::Null: case rt::VT::Byte: case rt::VT::Integer: case rt::VT::Long:
    case rt::VT::Single: case rt::VT::Double: case rt::VT::Currency: case rt::VT::Decimal:
      return v;
    default: rt::raise(rt::err::TypeMismatch);
  }
}

bool negative(const rt::Variant& v) {
  switch (v.type()) {
    case rt::VT::Integer: return v.integer() < 0;
    case rt::VT::Long: return v.longValue() < 0;
    case rt::VT::Single: return v.single() < 0;
    case rt::VT::Double: return v.dbl() < 0;
    case rt::VT::Currency: return v.currency().raw < 0;
    case rt::VT::Decimal: return v.decimal().negative;
    default: return false;  // Null, Byte
  }
}

// Whole part of a Decimal: truncated, or the floor when `down`.
rt::Decimal wholeDecimal(rt::Decimal d, bool down) {
  unsigned __int128 m = (static_cast<unsigned __int128>(d.hi) << 64) | d.lo;
  unsigned __int128 scale = 1;
  for (int i = 0; i < d.scale; ++i) scale *= 10;
  bool inexact = m % scale != 0;
  m /= scale;
  if (down && d.negative && inexact) ++m;  // cannot pass 96 bits: m was divided by at least 10
  rt::Decimal r{static_cast<uint64_t>(m), static_cast<uint32_t>(m >> 64), 0, d.negative && m != 0};
  return r;
}

// Int (`down`: toward minus infinity) and Fix (toward zero), in the
// argument's own type.
rt::Variant wholePart(const rt::Variant& x, bool down) {
  rt::Variant v = numeric(x, true);
  auto cut = [down](double d) { return down ? std::floor(d) : std::trunc(d); };
  switch (v.type()) {
    case rt::VT::Single: return rt::Variant(static_cast<float>(cut(v.single())));
    case rt::VT::Double: return rt::Variant(cut(v.dbl()));
    case rt::VT::Date: return rt::Variant(rt::Date{cut(v.date().serial)});
    case rt::VT::Currency: {
      int64_t raw = v.currency().raw, whole = raw / rt::Currency::kScale;
      if (down && raw < 0 && raw % rt::Currency::kScale != 0) --whole;
      return rt::Variant(rt::Currency{whole * rt::Currency::kScale});
    }
    case rt::VT::Decimal: return rt::Variant(wholeDecimal(v.decimal(), down));
    default: return v;  // Null and the whole-number types
  }
}

rt::Variant absFun(const rt::Variant& x) {
  rt::Variant v = numeric(x, false);
  return negative(v) ? rt::opNeg(v) : v;
}

rt::Variant intFun(const rt::Variant& x) { return wholePart(x, true); }
rt::Variant fixFun(const rt::Variant& x) { return wholePart(x, false); }

rt::Variant sgnFun(const rt::Variant& x) {
  double d = rt::toDouble(x);
  return rt::Variant(static_cast<int16_t>(d > 0 ? 1 : d < 0 ? -1 : 0));
}

rt::Variant rndFun(const rt::Variant& x) { return rt::Variant(randomSequence().rnd(rt::toSingle(x))); }

// A Double result; one that is not finite is an overflow.
rt::Variant real(double r) {
  if (!std::isfinite(r)) rt::raise(rt::err::Overflow);
  return rt::Variant(r);
}

rt::Variant sqrFun(const rt::Variant& x) {
  double d = rt::toDouble(x);
  if (d < 0) rt::raise(rt::err::InvalidCall);
  return real(std::sqrt(d));
}

rt::Variant logFun(const rt::Variant& x) {
  double d = rt::toDouble(x);
  if (!(d > 0)) rt::raise(rt::err::InvalidCall);
  return real(std::log(d));
}

rt::Variant expFun(const rt::Variant& x) { return real(std::exp(rt::toDouble(x))); }
rt::Variant sinFun(const rt::Variant& x) { return real(std::sin(rt::toDouble(x))); }
rt::Variant cosFun(const rt::Variant& x) { return real(std::cos(rt::toDouble(x))); }
rt::Variant tanFun(const rt::Variant& x) { return real(std::tan(rt::toDouble(x))); }
rt::Variant atnFun(const rt::Variant& x) { return real(std::atan(rt::toDouble(x))); }

struct MathFun {
  std::u16string_view name;
  rt::Variant (*eval)(const rt::Variant& x);
};

// In the order the names are tested.
constexpr MathFun kMathFuns[] = {
    {u"abs", &absFun}, {u"atn", &atnFun}, {u"cos", &cosFun}, {u"exp", &expFun},
    {u"fix", &fixFun}, {u"int", &intFun}, {u"log", &logFun}, {u"rnd", &rndFun},
    {u"sgn", &sgnFun}, {u"sin", &sinFun}, {u"sqr", &sqrFun}, {u"tan", &tanFun},
};

}  // namespace

rt::Ref<zorbel::ScriptValue> SvMathFuns::funCall(zorbel::ScriptSpace*, zorbel::ScriptValue* sv,
                                                 int32_t) {
  err_.clear();
  if (!sv) {
    err_.setCode(ErrMissingArgument, kFunCallSource);
    return nullptr;
  }
  try {
    rt::Variant x = sv->value();
    const MathFun* f = findByName(std::span<const MathFun>(kMathFuns), key_);
    return SvSingle::of(f ? f->eval(x) : std::move(x));
  } catch (const rt::RuntimeError& e) {
    err_.trap(e, kFunCallSource);
    return nullptr;
  }
}

}  // namespace engine
