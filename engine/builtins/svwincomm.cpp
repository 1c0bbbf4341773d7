#include "builtins/svwincomm.h"

#include "rt/uihost.h"

namespace engine {

namespace {

// The arguments are gathered (and so must have a text form) but not used.
rt::Variant beepFun(const TextArgs&) {
  rt::uiHost().beep();
  return rt::Variant();
}

// MsgBox(prompt[, buttons[, title[, helpfile[, context]]]]): the host has no
// help to offer, so the last two are accepted and left unused.
rt::Variant msgBoxFun(const TextArgs& a) {
  int32_t buttons = a.count() >= 2 ? a.toInt(2) : rt::mb::OkOnly;
  return rt::Variant(rt::uiHost().messageBox(a.text(1), buttons, a.text(3)));
}

// InputBox(prompt[, title[, default[, xpos[, ypos[, helpfile[, context]]]]]]):
// the host places the box itself.
rt::Variant inputBoxFun(const TextArgs& a) {
  return rt::Variant(rt::uiHost().inputBox(a.text(1), a.text(2), a.text(3)));
}

// In the order the names are tested.
const TextFun kWinComm[] = {
    {u"Beep", anyCount(), &beepFun},
    {u"MsgBox", between(1, 5), &msgBoxFun},
    {u"InputBox", between(1, 7), &inputBoxFun},
};

}  // namespace

std::span<const TextFun> SvWinComm::functions() { return kWinComm; }

}  // namespace engine
