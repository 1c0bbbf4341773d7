// Placeholder definitions until activation is built.
#include "rt/activation.h"
#include "rt/error.h"
#include "rt/resources.h"
#include "rt/uihost.h"

namespace rt {
namespace {
[[noreturn]] void todo() { raise(err::Internal, u"not built yet"); }
}  // namespace
Ref<Object> createObject(std::u16string_view) { todo(); }
Ref<Object> createInstance(const Guid&) { todo(); }
Guid classIdFromProgId(std::u16string_view) { todo(); }
void registerLocalClass(std::u16string_view, const Guid&, std::function<Ref<Object>()>) { todo(); }
void unregisterLocalClass(std::u16string_view) { todo(); }
std::vector<std::string> registryStores() { todo(); }
int32_t registerLibrary(const std::string&) { todo(); }
int32_t unregisterLibrary(const std::string&) { todo(); }
int32_t writeRegistration(const std::string&, const ClassEntry*, size_t) { return hr::Ok; }
int32_t removeRegistration(const ClassEntry*, size_t) { return hr::Ok; }
Ref<ClassFactory> factoryFor(const ClassEntry&) { todo(); }
std::vector<RegisteredClass> listRegisteredClasses() { todo(); }
std::u16string_view Resources::string(int32_t) const { todo(); }
bool Resources::tryString(int32_t, std::u16string_view&) const { todo(); }
std::span<const uint8_t> Resources::data(std::u16string_view, int32_t) const { todo(); }
int32_t defaultAnswer(int32_t) { todo(); }
UiHost& uiHost() { todo(); }
Ref<UiHost> setUiHost(Ref<UiHost>) { todo(); }
}  // namespace rt
