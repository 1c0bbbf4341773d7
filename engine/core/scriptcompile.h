// ScriptCompile: the public compiler class (kestrin/scriptcompile.h).
#pragma once

#include <string>

#include "builtins/svuserfun.h"
#include "core/errors.h"
#include "core/expitems.h"
#include "core/loadcheck.h"
#include "kestrin/scriptcompile.h"
#include "rt/dispatch.h"

namespace engine {

class ScriptCompile final : public rt::Automation<ScriptCompile, kestrin::IScriptCompile> {
 public:
  static const rt::MemberTable<ScriptCompile>& members();

  ScriptCompile();

  int32_t curLineCode() override { return curLine_; }
  void setCurLineCode(int32_t line) override;
  jespin::IErrInfo& error() override { return error_.info(); }
  void compile(std::u16string_view s, nubrel::VStream& vs) override;
  void compileLine(std::u16string_view s, nubrel::VStream& vs) override;
  void compileEnd(nubrel::VStream& vs) override;
  bool checkStream(nubrel::VStream& vs) override;

 private:
  void compileStatement(std::u16string statement, nubrel::VStream& vs);
  void startDefinition(std::u16string statement, nubrel::VStream& vs);
  void continueDefinition(nubrel::VStream& vs);

  int32_t curLine_ = 0;
  bool lineSet_ = false;         // a line number was let in for the next line
  std::u16string pending_;       // continued parts of a statement so far
  bool inBlockComment_ = false;
  rt::Ref<SvUserFun> fun_;       // the definition being collected
  int32_t funLine_ = 0;          // the line of its header
  int32_t funKeyword_ = 0;       // Sub or Function
  rt::Ref<ExpItems> items_;      // reused for every line
  LoadCheck check_;              // what a host could not load is refused here
  ErrRecord error_;
};

}  // namespace engine
