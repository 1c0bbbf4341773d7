// Profile (INI) files with key paths, sub-profiles and value substitution,
// as other libraries see them.
//
// A key path is "Key", "Key.Section" or "Key.Section.Profile": without a
// section the key lives in defClass ("Values"); a profile name is looked up
// in the file's section "ProFiles" (or used as a file name beside this one).
// When section "ProFileDef" enables it ("EscEnable" not 0, "EscChar" giving
// start and end marker as "start,end"), a value read by key path has each
// marked key path inside it replaced by that path's value.
//
// Reads never fail: a missing file, section or key gives the default.
// Writes record their failures in `error()` and raise nothing.  A read that
// a limit cuts short is recorded too (reads clear nothing): a file of more
// than 1 MB reads as missing (7); substitution nested deeper than 32 or
// making more than 256 replacements in one read leaves the remaining
// references as written (16), as a reference into a cycle always stays.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "jespin/errinfo.h"
#include "rt/activation.h"
#include "rt/object.h"

namespace jespin {

class IProFile : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Jespin.IProFile");
  static constexpr rt::Guid clsid = rt::classIdOf("Jespin.ProFile");

  // The section of key paths without one ("Values" at first).
  virtual std::u16string defClass() = 0;
  virtual void setDefClass(std::u16string_view s) = 0;
  // What reads of a missing key give (empty at first).
  virtual std::u16string defValue() = 0;
  virtual void setDefValue(std::u16string_view s) = 0;

  // Names the file: `pPath` a full file name (split at its last separator),
  // or with `pName` a folder and a file name in it.  True when the folder
  // exists; the substitution settings are then read from the file.
  virtual bool init(std::u16string_view pPath, std::u16string_view pName = {}) = 0;
  // Switches substitution on with these markers, and records them in the
  // file when one is named.
  virtual void enableEsc(std::u16string_view escStart, std::u16string_view escEnd) = 0;
  // A second object on this file (no name), or on the sub-profile `pName`;
  // nothing when its folder does not exist.
  virtual rt::Ref<IProFile> newProf(std::u16string_view pName = {}) = 0;

  // The value of a key path, substituted when enabled (Value get).
  virtual std::u16string value(std::u16string_view keyPath) = 0;
  // Writes the value of a key path, as it is (Value let).
  virtual void letValue(std::u16string_view keyPath, std::u16string_view v) = 0;

  virtual std::u16string getValue(std::u16string_view clsName, std::u16string_view key) = 0;
  virtual int32_t getInt(std::u16string_view clsName, std::u16string_view key,
                         int32_t defV = 0) = 0;
  // The lines "key=value" of a section, one per call; empty text after the last.
  virtual std::u16string firstValue(std::u16string_view clsName) = 0;
  virtual std::u16string nextValue() = 0;
  virtual void setValue(std::u16string_view clsName, std::u16string_view key,
                        std::u16string_view v) = 0;

  // Window state and placement of `frm` (its WindowState, Left, Top, Width
  // and Height, by name) under the keys State, X, Y, W and H.
  virtual void saveWinStat(rt::Object* frm, std::u16string_view clsName = u"Window") = 0;
  virtual void loadWinStat(rt::Object* frm, std::u16string_view clsName = u"Window") = 0;

  // The folder (with its separator), the file name, and both joined.
  virtual std::u16string proPath() = 0;
  virtual std::u16string proName() = 0;
  virtual std::u16string fileName() = 0;

  virtual rt::Ref<IErrInfo> error() = 0;
};

}  // namespace jespin
