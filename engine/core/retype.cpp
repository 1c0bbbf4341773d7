#include "core/retype.h"

#include "core/tokencode.h"

namespace engine {

void retypeAssignments(ExpItems& eis) {
  bool assigned = false;
  bool setMode = false;
  for (ExpItem& ei : eis) {
    switch (ei.iType) {
      case tok::Set:
        ei.iType = tok::Blank;
        setMode = true;
        break;
      case tok::Separator:
        assigned = setMode = false;
        break;
      case tok::Assign:
      case tok::AddAssign:
      case tok::SubAssign:
      case tok::SetAssign:
        assigned = true;
        setMode = false;
        break;
      case tok::Equals:
        if (setMode) {
          ei.iType = tok::SetAssign;
        } else if (assigned) {
          ei.iType = tok::EqualEqual;
        } else {
          ei.iType = tok::Assign;
          assigned = true;
        }
        break;
      default: break;
    }
  }
}

}  // namespace engine
