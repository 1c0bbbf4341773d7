// The fuzz targets.  Each takes one input and must neither crash, hang nor
// ask for memory out of proportion to it; a broken invariant aborts.  The
// fuzzer programs (entry.cpp) run one each, the regression tests replay the
// inputs kept under fuzz/regressions/<name>/ through all of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

using Target = void (*)(const uint8_t* data, size_t size);

// Script text (UTF-8, or UTF-16LE after FF FE): tokenizer, defines, trees.
void tokenize(const uint8_t* data, size_t size);
// Script text through the compiler, whole and line by line.
void compile(const uint8_t* data, size_t size);
// Script lines into statement blocks, not run.
void blocks(const uint8_t* data, size_t size);

// Stream inputs (streaminput.h): values of the kinds the input asks for,
// read from a file or text that holds the rest of it.
void binFileStream(const uint8_t* data, size_t size);
void fileStream(const uint8_t* data, size_t size);
void memStream(const uint8_t* data, size_t size);

// Script text (as tokenize) compiled and run on a script host, with a
// budget of steps and memory; the scripts cannot change files outside the
// process's temporary folder (sandbox.h).
void run(const uint8_t* data, size_t size);
// Any compiled stream (a binary stream file) run on a script host, the same.
void execStream(const uint8_t* data, size_t size);
// Page text (as tokenize) through the page compiler into a memory stream,
// which must read back; a page that compiles runs as `run` runs a script.
void page(const uint8_t* data, size_t size);

// File inputs (fileinput.h): an options byte, then the file.
void profile(const uint8_t* data, size_t size);
void textFile(const uint8_t* data, size_t size);
void utf16File(const uint8_t* data, size_t size);

// Any bytes as a pack file, unpacked into a scratch folder of its own.
void unpack(const uint8_t* data, size_t size);

// The first edition, in a harness of its own (an engine's objects are
// linked into a program once): script text (as tokenize) fed line by line
// to a host, and any compiled stream (a binary stream file) run on one,
// each with the budget of `run`.
void lines(const uint8_t* data, size_t size);
void stream(const uint8_t* data, size_t size);

// The targets of the harness linked in, under the names of their folders
// of kept inputs.
struct NamedTarget {
  const char* name;
  Target run;
};
const std::span<const NamedTarget> allTargets();

// What every target needs before its first input: the classes of this
// process registered and the libraries loaded.  Idempotent.
void prepare();

// The folders a fuzzer program writes to (its corpus, where findings go),
// from its command line: scripts run by the targets may change files there.
void noteFuzzerArguments(int argc, char** argv);
const std::vector<std::string>& fuzzerFolders();

// Input bytes as text: UTF-16LE after FF FE, UTF-8 otherwise.
std::u16string inputText(std::string_view bytes);
inline std::string_view asBytes(const uint8_t* data, size_t size) {
  return std::string_view(reinterpret_cast<const char*>(data), size);
}

// The check behind the harness's invariants: reports `what` and aborts.
void check(bool ok, const char* what);

}  // namespace fuzz
