// The targets of the second edition's harness: the engine's own, and those
// of the libraries reached by name.
#include "targets.h"

namespace fuzz {

const std::span<const NamedTarget> allTargets() {
  static const NamedTarget targets[] = {
      {"tokenize", tokenize},     {"compile", compile},
      {"blocks", blocks},         {"run", run},
      {"execstream", execStream}, {"binfilestream", binFileStream},
      {"filestream", fileStream}, {"memstream", memStream},
      {"profile", profile},       {"textfile", textFile},
      {"utf16file", utf16File},   {"page", page},
      {"unpack", unpack},
  };
  return targets;
}

}  // namespace fuzz
