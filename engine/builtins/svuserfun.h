// A script's own Sub or Function: its definition as the compiler collects it
// line by line and stores it in the compiled stream, and the callable value
// the host binds under its name.
//
// The compiler hands over the header line and then every body line; the
// closing line (End Sub or End Function, either one) completes the
// definition.  The stored form is the name, the parameter names and the body
// lines as token lists; nothing records whether it was a Sub or a Function.
//
// A call (userfuncall.cpp) runs the body in a new space whose parent is the
// caller's space, so the body sees the caller's names, with the parameters
// bound to the caller's argument objects themselves (by reference) and the
// function's name bound to its result slot (SvFunReturn).  The body is made
// of the lines on the first call, as each engine library does it
// (funbody.h), and kept; the lines stay as they were read, for the stored
// form.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "builtins/funbody.h"
#include "core/defines.h"
#include "core/errors.h"
#include "core/expitems.h"
#include "core/space.h"
#include "nubrel/vstream.h"
#include "rt/dispatch.h"
#include "zorbel/zorbel.h"

namespace engine {

class SsBody;

class SvUserFun final : public rt::Automation<SvUserFun, zorbel::ScriptValue> {
 public:
  // What addLine reports.
  enum AddResult : int32_t { AddFailed = 0, LineTaken = 1, DefinitionComplete = 2 };

  static const rt::MemberTable<SvUserFun>& members();

  SvUserFun();
  ~SvUserFun() override;

  // The first call parses the header ("Sub name(a, b)"; the first token is
  // not looked at); later calls store body lines (copies) until a closing
  // line.  AddFailed leaves the error (7 for a malformed header) recorded.
  int32_t addLine(const ExpItems& line);

  // The stored form, before or after the function has run.
  void writeStream(nubrel::VStream& vs) const;
  // Reads the stored form, expanding in each body line the macros that
  // `defines` knows now (none when it is empty).  A runaway expansion
  // raises its error.
  void readStream(nubrel::VStream& vs, const DefineLookup& defines = {});

  const std::u16string& name() const { return name_; }
  // The source its lines were read from (place.h), where failures of its
  // body are reported.
  void setSource(int32_t source) { source_ = source; }
  const std::vector<std::u16string>& params() const { return params_; }
  ItemsColl& lines() { return lines_; }

  // --- ScriptValue ---
  // The name the function is bound under.  Binding it under another name
  // (Set h = F, passing F as an argument) changes only this: the function
  // keeps its Name, under which its body finds its result slot.
  std::u16string key() override { return key_; }
  void setKey(std::u16string_view key) override { key_ = key; }
  int32_t count() override;
  int32_t flag() override { return zorbel::FlagCall; }
  // Runs the function without arguments in the space of the code reading
  // it, and answers its result's value (Empty when the call fails; the
  // failure stays in the function's record).
  rt::Variant value() override;
  void letValue(const rt::Variant& v) override;
  void setValue(const rt::Variant& v) override;
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view name) override;
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant& index, int32_t rf) override;
  // Runs the body with `ss` as the caller's space and the argument object
  // `sv` (null: no arguments; an argument list; else the one argument).
  // The result is the value the body left under the function's name: the
  // object it set there, or else the slot with its value.  Failures are
  // recorded under "ScriptValue_FunCall" and give null.
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                       int32_t reFlag) override;
  rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view) override { return nullptr; }
  jespin::IErrInfo& error() override { return error_.info(); }
  bool hasError() override { return error_.haveErr(); }

 private:
  void firstLine(const ExpItems& line);
  void addParam(std::u16string name);
  void refuse(std::u16string_view source) { error_.setCode(ErrNotSupported, source); }

  // The steps of a call (userfuncall.cpp).
  void bindParams(SsBody& space, zorbel::ScriptValue* sv);
  rt::Ref<SsBody> takeSpace();
  void giveBack(rt::Ref<SsBody> space);

  std::u16string name_;
  std::u16string key_;
  int32_t source_ = 0;
  std::vector<std::u16string> params_;
  ItemsColl lines_;
  bool headerDone_ = false;
  FunctionBodyPtr body_;  // made on the first call
  // Spaces of calls that have ended, for the next calls: a recursion reuses
  // them rather than making a space for each call.
  std::vector<rt::Ref<SsBody>> spare_;
  // The shape steps of a call's bindings, slot first, so that the spaces of
  // all calls share their shapes without looking them up.
  std::vector<ShapeStep> steps_;
  ErrRecord error_;
};

}  // namespace engine
