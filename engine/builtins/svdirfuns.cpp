#include "builtins/svdirfuns.h"

#include "rt/dirlist.h"
#include "builtins/fileops.h"
#include "rt/copyfile.h"

namespace engine {

namespace {

// Dir([pattern[, attributes]]): a pattern starts the search, no argument
// continues it.
rt::Variant dirFun(const TextArgs& a) {
  if (a.count() == 0) return rt::Variant(rt::continueSearch());
  return rt::Variant(rt::startSearch(a.text(1), a.count() >= 2 ? a.toInt(2) : 0));
}

// CurDir([drive]): every drive is the one root.
rt::Variant curDirFun(const TextArgs&) { return rt::Variant(fileops::currentFolder()); }

rt::Variant fileDateTimeFun(const TextArgs& a) { return rt::Variant(fileops::modifiedAt(a.text(1))); }
rt::Variant fileLenFun(const TextArgs& a) { return rt::Variant(fileops::fileLength(a.text(1))); }
rt::Variant getAttrFun(const TextArgs& a) { return rt::Variant(fileops::attributes(a.text(1))); }

// The functions that change the file system answer True when done.
template <void (*Op)(std::u16string_view)>
rt::Variant onePath(const TextArgs& a) {
  Op(a.text(1));
  return rt::Variant(true);
}

template <void (*Op)(std::u16string_view, std::u16string_view)>
rt::Variant twoPaths(const TextArgs& a) {
  Op(a.text(1), a.text(2));
  return rt::Variant(true);
}

rt::Variant setAttrFun(const TextArgs& a) {
  fileops::setAttributes(a.text(1), a.toInt(2));
  return rt::Variant(true);
}

// In the order the names are tested.
const TextFun kDirFuns[] = {
    {u"Dir", between(0, 2), &dirFun},
    {u"CurDir", anyCount(), &curDirFun},
    {u"ChDir", atLeast(1), &onePath<fileops::changeFolder>, OnBadCount::False},
    {u"ChDrive", atLeast(1), &onePath<fileops::changeDrive>, OnBadCount::False},
    {u"FileDateTime", atLeast(1), &fileDateTimeFun},
    {u"FileLen", atLeast(1), &fileLenFun},
    {u"GetAttr", atLeast(1), &getAttrFun},
    {u"SetAttr", atLeast(2), &setAttrFun, OnBadCount::False},
    {u"FileCopy", atLeast(2), &twoPaths<rt::fs::copyFile>, OnBadCount::False},
    {u"Kill", atLeast(1), &onePath<fileops::killFiles>, OnBadCount::False},
    {u"MkDir", atLeast(1), &onePath<fileops::makeFolder>, OnBadCount::False},
    {u"RmDir", atLeast(1), &onePath<fileops::removeFolder>, OnBadCount::False},
    {u"ReName", atLeast(2), &twoPaths<fileops::rename>, OnBadCount::False},
};

}  // namespace

std::span<const TextFun> SvDirFuns::functions() { return kDirFuns; }

}  // namespace engine
