#include "core/bodygeneral.h"

#include <new>

#include "core/compoundbodies.h"
#include "core/compoundbody.h"
#include "core/linesplit.h"
#include "core/simplebodies.h"
#include "rt/stack.h"
#include "rt/text.h"

namespace engine {

namespace {

bool isA(const ExecBody* b, std::u16string_view classId) {
  return b && rt::equalsNoCase(b->classId(), classId);
}

// Children that take further lines of their own kind through newBody.
bool takesRuns(const ExecBody* b) { return isA(b, u"BodySerial") || isA(b, u"BodyDim"); }

}  // namespace

bool BodyGeneral::hasOpenBlock() const { return open_ && !takesRuns(open_) && !open_->isOver(); }

const CompoundBody* BodyGeneral::unclosed() const {
  const auto* open = hasOpenBlock() ? dynamic_cast<const CompoundBody*>(open_) : nullptr;
  if (!open) return nullptr;
  const BodyGeneral* inside = open->receiving();
  const CompoundBody* deeper = inside ? inside->unclosed() : nullptr;
  return deeper ? deeper : open;
}

void BodyGeneral::openChild(std::unique_ptr<ExecBody> b) {
  open_ = b.get();
  children_.push_back(std::move(b));
}

void BodyGeneral::newBody(const ExpItems& eis) {
  const int32_t t = eis.item(1).iType;
  if (tok::isKeyword(t) && t != tok::Set) {
    if (opensCompound(t)) openChild(newCompoundBody(t, depth_ + 1));
    else if (t == tok::Exit) openChild(std::make_unique<BodyExit>());
    else if (t == tok::Dim) {
      if (!isA(open_, u"BodyDim")) openChild(std::make_unique<BodyDim>());
    } else if (t != tok::Public && t != tok::Private) {
      raiseCode(ErrSyntax, u"NewBody");
    } else if (eis.count() == 1) {
      raiseCode(ErrSyntax, u"NewBody");  // Public or Private with nothing after it
    }
    return;
  }
  if (!isA(open_, u"BodySerial")) openChild(std::make_unique<BodySerial>());
}

void BodyGeneral::addCode(ExpItems& eis) {
  if (eis.empty()) return;
  std::vector<rt::Ref<ExpItems>> statements = splitStatements(eis);
  if (statements.empty()) return addLine(eis);
  for (const rt::Ref<ExpItems>& line : statements) {
    addLine(*line);
    if (error_.haveErr()) return;
  }
}

void BodyGeneral::addLine(ExpItems& eis) {
  try {
    rt::stack::check();  // each compound statement feeds its lines on
    if (!open_ || takesRuns(open_)) newBody(eis);
    if (!open_) {
      // Public or Private with no declaration or statement run open.
      error_.setCode(ErrSyntax, u"AddCode");
      return;
    }
    open_->addCode(eis);
    if (open_->error().haveErr()) error_.copy(open_->error(), u"AddLine");
    else if (open_->isOver()) open_ = nullptr;
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, u"AddCode");
  } catch (const std::bad_alloc&) {
    error_.trapOutOfMemory(u"AddCode");
  }
}

// A user function's body runs nested in itself when the function recurses:
// a nested run may leave its error here, so a run that ends well clears it
// again before it returns.
int32_t BodyGeneral::execute(zorbel::ScriptSpace& ss) {
  error_.clear();
  try {
    for (const std::unique_ptr<ExecBody>& child : children_) {
      int32_t code = child->execute(ss);
      if (child->error().haveErr()) {
        error_.copy(child->error(), u"Execute");
        return ExitNone;
      }
      if (code != ExitNone) {
        error_.clear();
        return code;
      }
    }
    error_.clear();
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, u"Execute");
  } catch (const std::bad_alloc&) {
    // A statement that asked for more memory than there is fails; the
    // script goes on only as far as any failure lets it.
    error_.trapOutOfMemory(u"Execute");
  }
  return ExitNone;
}

}  // namespace engine
