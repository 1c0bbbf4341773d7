#include "builtins/svsysfuns.h"

#include <cstdlib>
#include <string>

#include "builtins/random.h"
#include "rt/shell.h"
#include "builtins/svsingle.h"
#include "core/evalsupport.h"
#include "rt/convert.h"
#include "rt/dispatch.h"
#include "rt/error.h"
#include "rt/text.h"
#include "rt/uihost.h"

namespace engine {

namespace {

// --- The text functions ---------------------------------------------------

// The classic 16-colour palette as RGB colour codes (red in the low byte).
constexpr int32_t kPalette[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

rt::Variant qbColorFun(const TextArgs& a) {
  int16_t n = a.toShort(1);
  if (n < 0 || n > 15) rt::raise(rt::err::InvalidCall);
  return rt::Variant(kPalette[n]);
}

// One part of an RGB colour: above 255 counts as 255; below 0 names no
// colour at all.
int32_t colourPart(const TextArgs& a, int32_t i) {
  int16_t v = a.toShort(i);
  if (v < 0) rt::raise(rt::err::InvalidCall);
  return v > 255 ? 255 : v;
}

rt::Variant rgbFun(const TextArgs& a) {
  return rt::Variant(colourPart(a, 1) + 256 * colourPart(a, 2) + 65536 * colourPart(a, 3));
}

// The same sequence as the Math library's Rnd; no argument is the next number.
rt::Variant rndFun(const TextArgs& a) {
  RandomSequence& seq = randomSequence();
  if (a.count() == 0) return rt::Variant(seq.next());
  return rt::Variant(seq.rnd(rt::toSingle(rt::Variant(a.text(1)))));
}

rt::Variant randomizeFun(const TextArgs& a) {
  if (a.count() == 0)
    randomSequence().randomize();
  else
    randomSequence().randomize(a.toReal(1));
  return rt::Variant();
}

// The arguments are gathered (and so must have a text form) but not used.
rt::Variant doEventsFun(const TextArgs&) {
  rt::uiHost().yield();
  return rt::Variant();
}

// Shell(command[, windowStyle]): the program's process id.  The window
// style must be a number; there is no window to apply it to here.
rt::Variant shellFun(const TextArgs& a) {
  if (a.count() == 0) return rt::Variant();
  if (a.count() >= 2) static_cast<void>(a.toInt(2));
  return rt::Variant(static_cast<double>(rt::startProgram(a.text(1))));
}

// Environ(name): the variable's value, "" when it is not set.  The argument
// is always a name: a text of digits names a variable too, it does not
// count entries of the environment.
rt::Variant environFun(const TextArgs& a) {
  std::string n = rt::toUtf8(a.text(1));
  if (!n.empty() && n.find_first_of(std::string_view("=\0", 2)) == std::string::npos)
    if (const char* v = std::getenv(n.c_str())) return rt::Variant(rt::fromUtf8(v));
  return rt::Variant(std::u16string());
}

// In the order the names are tested.
const TextFun kSysFuns[] = {
    {u"QBColor", exactly(1), &qbColorFun},
    {u"RGB", exactly(3), &rgbFun},
    {u"Rnd", anyCount(), &rndFun},
    {u"Randomize", anyCount(), &randomizeFun},
    {u"DoEvents", anyCount(), &doEventsFun},
    {u"Shell", anyCount(), &shellFun},
    {u"Environ", exactly(1), &environFun},
};

// --- The functions on argument objects --------------------------------------

bool isList(zorbel::ScriptValue& sv) { return sv.flag() & zorbel::FlagList; }

using ObjectEval = rt::Ref<zorbel::ScriptValue> (*)(ErrRecord& err, zorbel::ScriptValue& arg);

// Flags before the value: a list is "Array" whatever its items are, and a
// callable value that carries no value of its own (a user or library
// function) is "Function".  A value that can be called and has a value (an
// automation object's wrapper, a bound member) is named by its value.
rt::Ref<zorbel::ScriptValue> typeNameFun(ErrRecord&, zorbel::ScriptValue& arg) {
  int32_t flag = arg.flag();
  if (flag & zorbel::FlagList) return SvSingle::of(rt::Variant(u"Array"));
  if ((flag & zorbel::FlagCall) && !(flag & zorbel::FlagValue))
    return SvSingle::of(rt::Variant(u"Function"));
  return SvSingle::of(rt::Variant(rt::typeNameOfValue(arg.value())));
}

rt::Ref<zorbel::ScriptValue> iifFun(ErrRecord& err, zorbel::ScriptValue& args) {
  if (!isList(args) || args.count() != 3) {
    err.setCode(ErrMissingArgument, kFunCallSource);
    return nullptr;
  }
  return argItem(args, valueToBool(argItem(args, 1).get()) ? 2 : 3);
}

// Conditions and values in pairs; an odd last item is never tested.
rt::Ref<zorbel::ScriptValue> switchFun(ErrRecord& err, zorbel::ScriptValue& args) {
  if (!isList(args)) {
    err.setCode(ErrMissingArgument, kFunCallSource);
    return nullptr;
  }
  const int32_t n = args.count();
  for (int32_t i = 1; i < n; i += 2)
    if (valueToBool(argItem(args, i).get())) return argItem(args, i + 1);
  return nullptr;
}

struct ObjectFun {
  std::u16string_view name;
  ObjectEval eval;
};

// Tested before the text functions, in this order.
constexpr ObjectFun kObjectFuns[] = {
    {u"TypeName", &typeNameFun},
    {u"IIf", &iifFun},
    {u"Switch", &switchFun},
};

}  // namespace

std::span<const TextFun> SvSysFuns::functions() { return kSysFuns; }

rt::Ref<zorbel::ScriptValue> SvSysFuns::funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                                int32_t reFlag) {
  const ObjectFun* f = findByName(std::span<const ObjectFun>(kObjectFuns), key_);
  if (!f) return TextLibFun<SvSysFuns>::funCall(ss, sv, reFlag);
  err_.clear();
  try {
    // No argument at all: there is no object to ask for its flags.
    if (!sv) rt::raise(rt::err::ObjectNotSet);
    return f->eval(err_, *sv);
  } catch (const rt::RuntimeError& e) {
    err_.trap(e, kFunCallSource);
    return nullptr;
  }
}

}  // namespace engine
