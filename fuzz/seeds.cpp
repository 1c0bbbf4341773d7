// Writes the fuzzers' first corpora:
//
//   fuzz_seeds SOURCE_DIR OUT_DIR
//
// OUT_DIR/<target>/ gets the project's scripts (examples, engine samples and
// script cases), those scripts compiled into stream files, every kind of
// stream value written by each stream class, the example pages, and the
// samples kept under fuzz/seeds/, each in the input form its target reads
// (targets.h).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "fileinput.h"
#include "harness.h"
#include "kestrin/scriptcompile.h"
#include "nubrel/memstream.h"
#include "rt/error.h"
#include "streaminput.h"
#include "targets.h"

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& p, std::string_view bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<fs::path> filesUnder(const fs::path& dir, std::string_view ext, bool recursive) {
  std::vector<fs::path> files;
  if (!fs::is_directory(dir)) return files;
  auto take = [&](const fs::directory_entry& e) {
    if (e.is_regular_file() && (ext.empty() || e.path().extension() == ext))
      files.push_back(e.path());
  };
  if (recursive)
    for (const auto& e : fs::recursive_directory_iterator(dir)) take(e);
  else
    for (const auto& e : fs::directory_iterator(dir)) take(e);
  std::sort(files.begin(), files.end());
  return files;
}

// A seed name from where it came from: "engine-tests-scripts-io-input.zub".
std::string seedName(const fs::path& source, const fs::path& file) {
  std::string name = fs::relative(file, source).generic_string();
  for (char& c : name)
    if (c == '/') c = '-';
  return name;
}

std::string utf16Le(std::u16string_view s) {
  std::string out = "\xFF\xFE";
  for (char16_t u : s) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  }
  return out;
}

// --- Stream values -----------------------------------------------------------

using fuzz::Kind;
using fuzz::Value;

rt::Ref<nubrel::StreamEnable> node(int32_t shape, std::u16string text,
                                   rt::Ref<nubrel::StreamEnable> child) {
  // Nodes are made by reading their record, the only way in from outside.
  auto ms = fuzz::newObject<nubrel::IMemStream>(u"Nubrel.MemStream");
  ms->init(nubrel::OutStream);
  ms->setVString(u"Fuzz.Node");
  ms->setVLong(1);
  ms->setVLong(shape);
  if (shape & 1) ms->setVString(text);
  if (shape & 2) ms->setVBytes(rt::Variant(rt::ByteArray{3, {7, 8, 9}}));
  if (shape & 4) ms->setVObject(child.get());
  ms->setDir(nubrel::InStream);
  return ms->vObject();
}

// The record of `depth` nodes each holding the next, as the plain values it
// is made of: read as one object (op 7), it nests that deep.
std::vector<Value> chainRecord(int depth) {
  std::vector<Value> values;
  for (int i = 0; i < depth; ++i) {
    bool leaf = i + 1 == depth;
    values.push_back({Kind::String, u"Fuzz.Node"});
    values.push_back({Kind::Long, int32_t{1}});
    values.push_back({Kind::Long, int32_t{leaf ? 1 : 5}});
    values.push_back({Kind::String, u"n"});
  }
  return values;
}

// Named sequences of values, one seed each.
std::vector<std::pair<std::string, std::vector<Value>>> valueSets() {
  auto v = [](Kind k, rt::Variant x) { return Value{k, std::move(x)}; };
  rt::Ref<nubrel::StreamEnable> plain =
      fuzz::newObject<nubrel::StreamEnable>(u"Nubrel.StreamEnable");
  std::vector<std::pair<std::string, std::vector<Value>>> sets = {
      {"strings",
       {v(Kind::String, u"ab"), v(Kind::String, u""), v(Kind::String, u"中文"),
        v(Kind::String, u"a\U0001F600")}},
      {"bytes",
       {v(Kind::Byte, uint8_t{0xAB}), v(Kind::Bytes, rt::ByteArray{1, {10, 20, 30}}),
        v(Kind::Bytes, rt::ByteArray{0, {}})}},
      {"numbers",
       {v(Kind::Integer, int16_t{-1}), v(Kind::Integer, int16_t{0x1234}),
        v(Kind::Long, int32_t{-2}), v(Kind::Double, 1.5), v(Kind::Double, 1e300),
        v(Kind::Double, -0.0001), v(Kind::Date, rt::Date{36526.5})}},
      {"objects",
       {v(Kind::Object, plain), v(Kind::Object, node(7, u"top", node(3, u"in", nullptr)))}},
      {"every-kind",
       {v(Kind::String, u"x"), v(Kind::Byte, uint8_t{1}), v(Kind::Bytes, rt::ByteArray{0, {1}}),
        v(Kind::Integer, int16_t{2}), v(Kind::Long, int32_t{3}), v(Kind::Double, 4.5),
        v(Kind::Date, rt::Date{5.25}), v(Kind::Object, node(0, u"", nullptr))}},
      // Nested deeper than any stream reads, and just deep enough.
      {"deep-objects", chainRecord(120)},
      {"nested-objects", chainRecord(100)},
  };
  return sets;
}

// The options byte and op bytes of a stream input for `values`; a record
// written as plain values is read as one object.
std::string streamPrefix(const std::string& name, const std::vector<Value>& values,
                         uint8_t flags = 0) {
  std::string ops =
      name.ends_with("-objects") ? std::string(1, '\7') : fuzz::opsOf(values).substr(0, 31);
  return static_cast<char>(flags | ops.size()) + ops;
}

// The bytes of a stream file of class `progId` holding `values`.
std::string streamFile(std::u16string_view progId, const std::vector<Value>& values) {
  auto s = fuzz::newObject<nubrel::IStreamFile>(progId);
  std::string path = fuzz::tempFolder() + "seed";
  if (!s->openStream(rt::fromUtf8(path), nubrel::OutStream)) rt::raise(rt::err::PathFileAccess);
  fuzz::writeValues(*s, values);
  s->closeStream();
  return readFile(path);
}

std::u16string memText(const std::vector<Value>& values) {
  auto ms = fuzz::newObject<nubrel::IMemStream>(u"Nubrel.MemStream");
  ms->init(nubrel::OutStream);
  fuzz::writeValues(*ms, values);
  return ms->strBuffer();
}

// --- Scripts -----------------------------------------------------------------

// A script compiled into a stream file of class `progId`.
std::string compiledFile(std::u16string_view progId, const std::u16string& script) {
  auto compiler = fuzz::newObject<kestrin::IScriptCompile>(u"Kestrin.ScriptCompile");
  auto s = fuzz::newObject<nubrel::IStreamFile>(progId);
  std::string path = fuzz::tempFolder() + "seed";
  if (!s->openStream(rt::fromUtf8(path), nubrel::OutStream)) rt::raise(rt::err::PathFileAccess);
  compiler->compile(script, *s);
  s->closeStream();
  return readFile(path);
}

void writeSeeds(const fs::path& source, const fs::path& out) {
  std::vector<fs::path> scripts = filesUnder(source / "examples", ".zub", false);
  for (const char* dir : {"engine/tests/samples", "engine/tests/scripts"})
    for (const fs::path& p : filesUnder(source / dir, ".zub", true)) scripts.push_back(p);

  for (const fs::path& p : scripts) {
    std::string name = seedName(source, p);
    std::string text = readFile(p);
    std::u16string script = rt::fromUtf8(text);
    for (const char* t : {"tokenize", "compile", "blocks", "run", "lines"})
      writeFile(out / t / name, text);
    writeFile(out / "textfile" / name, '\0' + text);
    std::string bin = compiledFile(u"Nubrel.BinFileStream", script);
    for (const char* t : {"execstream", "stream"}) writeFile(out / t / (name + ".bin"), bin);
    writeFile(out / "binfilestream" / (name + ".bin"), std::string(1, '\0') + bin);
    writeFile(out / "filestream" / (name + ".txt"),
              '\0' + compiledFile(u"Nubrel.FileStream", script));
  }

  for (const auto& [name, values] : valueSets()) {
    writeFile(out / "binfilestream" / name,
              streamPrefix(name, values) + streamFile(u"Nubrel.BinFileStream", values));
    writeFile(out / "filestream" / name,
              streamPrefix(name, values) + streamFile(u"Nubrel.FileStream", values));
    writeFile(out / "memstream" / name, streamPrefix(name, values) + utf16Le(memText(values)));
    // The same under CP936, and after a header the harness writes.
    writeFile(
        out / "binfilestream" / (name + "-cp936"),
        streamPrefix(name, values, 0xC0) + streamFile(u"Nubrel.BinFileStream", values).substr(24));
  }

  // Pages: the example pages and the samples kept for the page target.
  for (const fs::path& dir : {source / "examples/pages", source / "fuzz/seeds/page"})
    for (const fs::path& p : filesUnder(dir, ".page", true))
      writeFile(out / "page" / seedName(source, p), readFile(p));

  // Kept samples: "-gbk" in a name asks for the CP936 code page.
  for (const char* t : {"profile", "textfile", "utf16file"}) {
    for (const fs::path& p : filesUnder(source / "fuzz/seeds" / t, "", false)) {
      char options = p.filename().string().find("-gbk") != std::string::npos ? '\1' : '\0';
      std::string bytes = readFile(p);
      writeFile(out / t / p.filename(), options + bytes);
      if (std::string_view(t) == "textfile" && options == '\0')
        writeFile(out / "utf16file" / p.filename(), '\0' + utf16Le(rt::fromUtf8(bytes)));
    }
  }
  // Packs are their target's input as they are.
  for (const fs::path& p : filesUnder(source / "fuzz/seeds/unpack", "", false))
    writeFile(out / "unpack" / p.filename(), readFile(p));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: fuzz_seeds SOURCE_DIR OUT_DIR\n");
    return 2;
  }
  try {
    fuzz::prepare();
    writeSeeds(argv[1], argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "fuzz_seeds: %s\n", e.what());
    return 1;
  }
  return 0;
}
