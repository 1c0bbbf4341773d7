#include "rt/error.h"

#include <algorithm>
#include <iterator>

#include "rt/text.h"

namespace rt {

namespace {

struct ErrorText {
  int32_t number;
  const char16_t* text;
};

// The runtime's messages, sorted by number.
constexpr ErrorText kTexts[] = {
    {3, u"无 GoSub 返回"},
    {5, u"无效的过程调用或参数"},
    {6, u"溢出"},
    {7, u"内存不足"},
    {9, u"下标越界"},
    {10, u"该数组被固定或暂时锁定"},
    {11, u"除数为零"},
    {13, u"类型不匹配"},
    {14, u"字符串空间不足"},
    {16, u"表达式太复杂"},
    {17, u"不能执行所需的操作"},
    {18, u"出现用户中断"},
    {20, u"无错误恢复"},
    {28, u"堆栈空间不足"},
    {35, u"子程序或函数未定义"},
    {47, u"DLL 应用程序的客户端太多"},
    {48, u"加载 DLL 错误"},
    {49, u"DLL 调用约定错误"},
    {51, u"内部错误"},
    {52, u"错误的文件名或号码"},
    {53, u"文件未找到"},
    {54, u"错误的文件方式"},
    {55, u"文件已打开"},
    {57, u"设备 I/O 错误"},
    {58, u"文件已存在"},
    {59, u"记录的长度错误"},
    {61, u"磁盘已满"},
    {62, u"输入超出文件尾"},
    {63, u"记录号错误"},
    {67, u"文件过多"},
    {68, u"设备不可用"},
    {70, u"没有权限"},
    {71, u"磁盘未准备好"},
    {74, u"不能用其他磁盘机重命名"},
    {75, u"路径/文件访问错误"},
    {76, u"路径未找到"},
    {91, u"对象变量或 With 块变量未设置"},
    {92, u"For 循环未初始化"},
    {93, u"无效的模式字符串"},
    {94, u"无效使用 Null"},
    {321, u"无效的文件格式"},
    {322, u"不能创建必要的临时文件"},
    {326, u"找不到指定标识的资源"},
    {380, u"无效的属性值"},
    {423, u"找不到属性或方法"},
    {424, u"要求对象"},
    {429, u"ActiveX 部件不能创建对象"},
    {430, u"类不支持自动化或不支持期望的接口"},
    {432, u"在自动化操作中未找到文件名或类名"},
    {438, u"对象不支持该属性或方法"},
    {440, u"自动化错误"},
    {445, u"对象不支持此动作"},
    {446, u"对象不支持命名参数"},
    {447, u"对象不支持当前的区域设置"},
    {448, u"未找到命名参数"},
    {449, u"参数不可选"},
    {450, u"错误的参数号或无效的属性赋值"},
    {451, u"Property let 过程未定义，Property get 过程未返回对象"},
    {452, u"无效的序数"},
    {453, u"指定的 DLL 函数未找到"},
    {457, u"此键已经与该集合的一个元素相关联"},
    {458, u"变量使用了不支持的自动化类型"},
    {462, u"远程服务器机器不存在或不可用"},
};

constexpr const char16_t* kApplicationDefined = u"应用程序定义的错误或对象定义的错误";

}  // namespace

std::u16string errorText(int32_t number) {
  auto it = std::lower_bound(std::begin(kTexts), std::end(kTexts), number,
                             [](const ErrorText& e, int32_t n) { return e.number < n; });
  if (it != std::end(kTexts) && it->number == number) return it->text;
  return kApplicationDefined;
}

RuntimeError::RuntimeError(int32_t number, std::u16string description, std::u16string source)
    : number_(number),
      description_(description.empty() ? errorText(number) : std::move(description)),
      source_(std::move(source)) {
  what_ = "error " + std::to_string(number_) + ": " + toUtf8(description_);
}

RuntimeError::~RuntimeError() = default;

const char* RuntimeError::what() const noexcept { return what_.c_str(); }

void raise(int32_t number) { throw RuntimeError(number); }

void raise(int32_t number, std::u16string_view detail) {
  if (detail.empty()) throw RuntimeError(number);
  std::u16string text = errorText(number);
  text += u"：";
  text += detail;
  throw RuntimeError(number, std::move(text));
}

void raiseWith(int32_t number, std::u16string description, std::u16string source) {
  throw RuntimeError(number, std::move(description), std::move(source));
}

}  // namespace rt
