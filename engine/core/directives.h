// The directives both editions' hosts run: "#define name = text",
// "#deftype type = ProgID", "#include anything".  The keyword follows the
// "#" directly and is read without regard to case; tabs count as blanks.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "jespin/values.h"
#include "zorbel/zorbel.h"

namespace engine {

// What a directive works on: the host's macro table, the type map (the
// root's, through the host's top-level space), what an include does, and
// where a failure is recorded.
struct DirectiveTarget {
  jespin::IVValues* defines = nullptr;
  zorbel::ScriptSpace* space = nullptr;
  std::function<void(const std::u16string& written)> include;
  ErrRecord* error = nullptr;
  // The host operation a recorded failure is reported under ("ExecStream").
  std::u16string_view operation;
};

// Runs the directive `text` (after the "#").  An empty one does nothing.
// Error 1003 for an unknown keyword is raised, as is 91 for a host that has
// no macro table or space any more; a define whose text does not tokenize
// is recorded in the target's record (false).
bool runDirective(std::u16string_view text, const DirectiveTarget& target);

// Follows the directive `text` (after the "#") into `defines` as a host's
// run would, when it is a define, and answers the name it defines; a
// replacement that does not tokenize, which would end the run, defines
// nothing.
std::optional<std::u16string> followDefine(std::u16string_view text, jespin::IVValues& defines);

}  // namespace engine
