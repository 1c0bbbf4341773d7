#include "reader.h"

#include "format.h"
#include "messages.h"
#include "names.h"
#include "packstream.h"
#include "rt/error.h"
#include "rt/text.h"

namespace wistel {

namespace {

class Reader {
 public:
  Reader(nubrel::IBinFileStream& s, int32_t blkSize, PackVisitor& v)
      : s_(s), blkSize_(blkSize), v_(v) {}

  void folder(std::u16string_view name, int depth) {
    if (depth > kMaxDepth) raiseDamaged(u"文件夹的层数超过 256");
    int32_t files = count();
    int32_t folders = count();
    v_.enterFolder(name, files, folders, depth);
    for (int32_t i = 0; i < files; ++i) file();
    for (int32_t i = 0; i < folders; ++i) folder(this->name(), depth + 1);
    v_.leaveFolder();
  }

 private:
  int32_t count() {
    int32_t n = s_.vLong();
    checkRead(s_);
    if (n < 0) raiseDamaged(u"文件或文件夹的个数为负数");
    return n;
  }

  // Bytes the code page cannot decode stay apart, to be shown as they are.
  std::u16string name() {
    std::string stored = s_.vStringBytes();
    checkRead(s_);
    std::u16string n = textOfBytes(stored, rt::ansiEncoding());
    if (std::u16string_view why = unusableName(n); !why.empty())
      raiseDamaged(bracket(n) + u"：" + std::u16string(why));
    return n;
  }

  void file() {
    FileRecord f;
    f.name = name();
    f.attributes = s_.vLong();
    try {
      f.modified = s_.vDate();
    } catch (const rt::RuntimeError&) {
      raiseDamaged(bracket(f.name) + u"：修改时间不是有效的日期");
    }
    f.blocks = count();  // checks the reads before it too: a failed read stays failed
    v_.beginFile(f);
    for (int32_t i = 0; i < f.blocks; ++i) block(f.name);
    v_.endFile();
  }

  void block(std::u16string_view fileName) {
    rt::Variant v = s_.vBytes();
    checkRead(s_);
    if (v.type() != rt::VT::ByteArray) raiseDamaged(bracket(fileName) + u"：数据块无效");
    const rt::ByteArray& a = v.bytes();
    if (a.lbound != 0 || a.bytes.empty() || a.bytes.size() > static_cast<size_t>(blkSize_))
      raiseDamaged(bracket(fileName) + u"：数据块的大小或下界无效");
    v_.block(a.bytes);
  }

  nubrel::IBinFileStream& s_;
  int32_t blkSize_;
  PackVisitor& v_;
};

}  // namespace

void readFolderTree(nubrel::IBinFileStream& s, int32_t blkSize, PackVisitor& v) {
  Reader(s, blkSize, v).folder({}, 0);
  // The stream knows its end once a read has run past it: a byte read
  // there is one too many.
  s.vByte();
  if (!s.eof()) raiseDamaged(u"根文件夹之后还有多余的数据");
}

}  // namespace wistel
