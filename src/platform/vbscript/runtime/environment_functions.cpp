// CreateObject, GetObject, GetLocale, SetLocale, ScriptEngine*, MsgBox, InputBox, LoadPicture
// and RGB: what a script asks of the host around it.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_factory.hpp"
#include "platform/automation/number_locale.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/ui/ui.hpp"
#include "platform/vbscript/runtime/builtins.hpp"

namespace vantorel::vbs {
namespace {

// The version this interpreter reports: VBScript 5.8, with a fixed build number of our own.
constexpr std::int32_t kMajorVersion = 5;
constexpr std::int32_t kMinorVersion = 8;
constexpr std::int32_t kBuildVersion = 18702;

constexpr std::u16string_view kDefaultTitle = u"VBScript";

// Text for a prompt or title: Null shows as nothing rather than stopping the script.
std::u16string displayText(const Variant& v) {
  if (v.isNull() || v.isMissing()) return {};
  return toString(v);
}

Variant createObjectFn(CallArgs a) {
  const std::u16string progId = toString(a[0]);
  // Objects on other machines are out of reach; the local machine may be named.
  if (a.has(1) && !toString(a[1]).empty()) raiseVbError(vberr::kCannotCreateObject);
  return Variant(ClassFactory::instance().create(progId));
}

Variant getObjectFn(CallArgs) {
  raiseVbError(vberr::kCannotCreateObject);
}

Variant getLocaleFn(ScriptState& state, CallArgs) {
  return Variant(state.lcid);
}

// "0x0409", as locale charts write LCIDs; nothing for other text.
std::optional<std::int32_t> cHexLcid(std::u16string_view s) {
  while (!s.empty() && s.front() == u' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == u' ') s.remove_suffix(1);
  if (s.size() < 3 || s.size() > 10 || s[0] != u'0' || (s[1] != u'x' && s[1] != u'X')) {
    return std::nullopt;
  }
  std::int64_t v = 0;
  for (const char16_t c : s.substr(2)) {
    int d;
    if (c >= u'0' && c <= u'9')
      d = c - u'0';
    else if (c >= u'a' && c <= u'f')
      d = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
      d = c - u'A' + 10;
    else
      return std::nullopt;
    v = v * 16 + d;
  }
  return static_cast<std::int32_t>(v);
}

const NumberLocale* localeById(std::int32_t lcid) {
  // 0 and the user (1024) and system (2048) defaults all mean the default locale here.
  if (lcid == 0 || lcid == 1024 || lcid == 2048) lcid = kInvariantLcid;
  return findNumberLocale(lcid);
}

Variant setLocaleFn(ScriptState& state, CallArgs a) {
  const std::int32_t previous = state.lcid;
  const Variant v = a.has(0) ? defaultValue(a[0]) : Variant(std::int32_t{0});
  const NumberLocale* next = nullptr;
  if (v.isString()) {
    const std::u16string& text = v.stringValue();
    if (std::optional<Variant> n = parseNumber(text)) {
      next = localeById(toLong(*n));
    } else if (std::optional<std::int32_t> hex = cHexLcid(text)) {
      next = localeById(*hex);
    } else {
      next = text.empty() ? localeById(0) : findNumberLocale(text);
    }
  } else {
    next = localeById(v.isEmpty() ? 0 : toLong(v));
  }
  if (!next) raiseVbError(vberr::kInvalidProcedureCall);
  state.lcid = next->lcid;
  setCurrentLcid(next->lcid);
  return Variant(previous);
}

Variant scriptEngineFn(CallArgs) {
  return Variant(u"VBScript");
}
Variant majorVersionFn(CallArgs) {
  return Variant(kMajorVersion);
}
Variant minorVersionFn(CallArgs) {
  return Variant(kMinorVersion);
}
Variant buildVersionFn(CallArgs) {
  return Variant(kBuildVersion);
}

Variant msgBoxFn(CallArgs a) {
  const std::u16string prompt = displayText(a[0]);
  const std::int32_t style = a.has(1) ? toLong(a[1]) : 0;
  const std::u16string title = a.has(2) ? displayText(a[2]) : std::u16string(kDefaultTitle);
  const ui::MessageBoxStyle s = ui::decodeMessageBoxStyle(style);
  const ui::Answer answer = ui::messageBox(prompt, title, s.buttons, s.icon, s.defaultButton);
  return Variant(static_cast<std::int16_t>(answer));
}

Variant inputBoxFn(CallArgs a) {
  displayText(a[0]);
  // Nobody can type an answer here, so the default is what the user "entered".
  return Variant(a.has(2) ? displayText(a[2]) : std::u16string());
}

Variant loadPictureFn(CallArgs) {
  raiseVbError(vberr::kInvalidProcedureCall);
}

Variant rgbFn(CallArgs a) {
  std::int32_t out = 0;
  for (int k = 2; k >= 0; --k) {
    std::int32_t c = toLong(a[static_cast<std::size_t>(k)]);
    if (c < 0) raiseVbError(vberr::kInvalidProcedureCall);
    if (c > 255) c = 255;
    out = out * 256 + c;
  }
  return Variant(out);
}

constexpr BuiltinFunction kFunctions[] = {
    {u"CreateObject", 1, 2, createObjectFn},
    {u"GetObject", 0, 2, getObjectFn},
    {u"GetLocale", 0, 0, nullptr, getLocaleFn},
    {u"SetLocale", 0, 1, nullptr, setLocaleFn},
    {u"ScriptEngine", 0, 0, scriptEngineFn},
    {u"ScriptEngineMajorVersion", 0, 0, majorVersionFn},
    {u"ScriptEngineMinorVersion", 0, 0, minorVersionFn},
    {u"ScriptEngineBuildVersion", 0, 0, buildVersionFn},
    {u"MsgBox", 1, 5, msgBoxFn},
    {u"InputBox", 1, 7, inputBoxFn},
    {u"LoadPicture", 1, 1, loadPictureFn},
    {u"RGB", 3, 3, rgbFn},
};

}  // namespace

std::span<const BuiltinFunction> environmentFunctions() {
  return kFunctions;
}

}  // namespace vantorel::vbs
