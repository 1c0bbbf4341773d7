#include "fakeapp.h"

#include <utility>

#include "jespin/errinfo.h"
#include "jespin/values.h"
#include "rt/activation.h"
#include "rt/error.h"
#include "yarrick/application.h"

namespace marloxtest {

namespace {

FakeApplications* installed = nullptr;

rt::Ref<jespin::IVValues> newList() {
  return rt::queryRef<jespin::IVValues>(rt::createInstance(jespin::IVValues::clsid).get());
}

}  // namespace

class FakeApplication final : public yarrick::IApplication {
 public:
  explicit FakeApplication(FakeApplications& scripts)
      : scripts_(scripts), error_(jespin::newErrInfo(u"Yarrick", u"Application")) {}
  void* query(const rt::Iid& iid) noexcept override { return rt::queryAmong<yarrick::IApplication>(this, iid); }

  jespin::IErrInfo& error() override { return *error_; }
  std::u16string sptPath() override { return sptPath_; }
  void setSptPath(std::u16string_view path) override { sptPath_ = path; }
  std::u16string sptFileName() override { return sptFileName_; }
  void setSptFileName(std::u16string_view name) override { sptFileName_ = name; }
  rt::Ref<rt::Object> host() override { return nullptr; }
  void execute(std::u16string_view) override { rt::raise(rt::err::NotSupported); }

  void execFile(std::u16string_view name) override {
    rt::Ref<FakeApplication> alive(this);
    error_->clear();
    failure_.reset();
    sptFileName_ = name;
    const FakeScript* script = scripts_.find(sptFileName_);
    if (!script) {
      error_->setNumber(-1);
      error_->setDescription(u"不能打开所要执行的脚本文件[" + sptFileName_ + u"]。");
      return;
    }
    FakeRun run(*this);
    (*script)(run);
    if (failure_) error_->readError(failure_->number, failure_->source, failure_->description);
  }

  uint32_t advise(rt::Ref<yarrick::ApplicationEvents> sink) override {
    sinks_[++cookies_] = std::move(sink);
    return cookies_;
  }
  void unadvise(uint32_t cookie) override { sinks_.erase(cookie); }

  std::optional<std::vector<rt::Variant>> send(const std::u16string& name, int32_t callType,
                                               std::vector<rt::Variant> args) {
    error_->clear();
    rt::Ref<jespin::IVValues> param = newList(), answer = newList();
    for (rt::Variant& a : args) param->add(std::move(a));
    try {
      std::map<uint32_t, rt::Ref<yarrick::ApplicationEvents>> sinks = sinks_;
      for (auto& [cookie, sink] : sinks) sink->sptCommand(name, callType, *param, *answer);
    } catch (const rt::RuntimeError& e) {
      record(e.number(), u"SendComm\r\n" + e.source(), e.description());
      return std::nullopt;
    }
    std::vector<rt::Variant> answers;
    for (int32_t i = 1; i <= answer->count(); ++i) answers.push_back(answer->item(rt::Variant(i))->value());
    return answers;
  }

  void record(int32_t number, const std::u16string& source, const std::u16string& description) {
    error_->readError(number, source, description);
    failure_ = Failure{number, source, description};
  }

 private:
  struct Failure {
    int32_t number;
    std::u16string source, description;
  };
  FakeApplications& scripts_;
  rt::Ref<jespin::IErrInfo> error_;
  std::u16string sptPath_, sptFileName_;
  std::map<uint32_t, rt::Ref<yarrick::ApplicationEvents>> sinks_;
  uint32_t cookies_ = 0;
  std::optional<Failure> failure_;
};

std::optional<std::vector<rt::Variant>> FakeRun::send(const std::u16string& name, int32_t callType,
                                                      std::vector<rt::Variant> args) {
  return app_.send(name, callType, std::move(args));
}

void FakeRun::fail(int32_t number, const std::u16string& description) {
  app_.record(number, u"ExecFile", description);
}

FakeApplications::FakeApplications() {
  installed = this;
  rt::registerLocalClass(u"Yarrick.Application", yarrick::IApplication::firstEdition, [] {
    ++installed->created;
    return rt::Ref<rt::Object>(rt::make<FakeApplication>(*installed));
  });
}

FakeApplications::~FakeApplications() {
  rt::unregisterLocalClass(u"Yarrick.Application");
  installed = nullptr;
}

const FakeScript* FakeApplications::find(const std::u16string& path) const {
  auto it = scripts_.find(path);
  return it == scripts_.end() ? nullptr : &it->second;
}

}  // namespace marloxtest
