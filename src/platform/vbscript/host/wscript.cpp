#include "platform/vbscript/host/wscript.hpp"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/class_factory.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/interrupt.hpp"
#include "platform/vbscript/control/indexed_get.hpp"

namespace vantorel::vbs {

namespace {

// As a shell reports a program ended by Ctrl-C.
constexpr std::int32_t kInterruptedExitCode = 130;

Ref<Enumerator> enumerate(std::vector<Variant> values) {
  return makeArrayEnumerator(Variant(SafeArray::fromValues(std::move(values))));
}

std::u16string echoText(const Variant& v) {
  if (v.isNull()) return u"Null";
  return toString(v);
}

}  // namespace

// ---- TextStream ------------------------------------------------------------------------------

const ClassInfo& WshTextStream::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"TextStream", [](ClassInfo& c) {
    ClassBuilder<WshTextStream>(c)
        .method<&WshTextStream::write>(u"Write")
        .method<&WshTextStream::writeLine>(u"WriteLine")
        .method<&WshTextStream::writeBlankLines>(u"WriteBlankLines")
        .method<&WshTextStream::read>(u"Read")
        .method<&WshTextStream::readLine>(u"ReadLine")
        .method<&WshTextStream::readAll>(u"ReadAll")
        .method<&WshTextStream::skip>(u"Skip")
        .method<&WshTextStream::skipLine>(u"SkipLine")
        .get<&WshTextStream::atEndOfStream>(u"AtEndOfStream")
        .get<&WshTextStream::atEndOfLine>(u"AtEndOfLine")
        .get<&WshTextStream::line>(u"Line")
        .get<&WshTextStream::column>(u"Column")
        .method<&WshTextStream::close>(u"Close");
  });
  return info;
}

void WshTextStream::requireMode(Mode mode) const {
  if (closed_ || mode_ != mode) raiseVbError(vberr::kBadFileMode);
}

void WshTextStream::advance(char16_t c) {
  if (c == u'\n') {
    ++line_;
    column_ = 1;
  } else {
    ++column_;
  }
}

void WshTextStream::write(const std::u16string& text) {
  requireMode(Mode::Write);
  const std::string bytes = toUtf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), file_);
  std::fflush(file_);
  for (char16_t c : text) advance(c);
}

void WshTextStream::writeLine(std::optional<std::u16string> text) {
  write(text.value_or(std::u16string()) + u"\n");
}

void WshTextStream::writeBlankLines(std::int32_t lines) {
  if (lines < 0) raiseVbError(vberr::kInvalidProcedureCall);
  write(std::u16string(static_cast<std::size_t>(lines), u'\n'));
}

std::optional<char16_t> WshTextStream::peek() {
  if (pending_.empty()) {
    const int lead = std::fgetc(file_);
    if (lead == EOF) return std::nullopt;
    std::string bytes(1, static_cast<char>(lead));
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    for (int i = 0; i < extra; ++i) {
      const int next = std::fgetc(file_);
      if (next == EOF) break;
      if ((next & 0xC0) != 0x80) {
        std::ungetc(next, file_);
        break;
      }
      bytes.push_back(static_cast<char>(next));
    }
    pending_ = fromUtf8(bytes);
    if (pending_.empty()) pending_.push_back(u'\uFFFD');
  }
  return pending_.front();
}

std::optional<char16_t> WshTextStream::take() {
  std::optional<char16_t> c = peek();
  if (c) {
    pending_.erase(0, 1);
    advance(*c);
  }
  return c;
}

std::u16string WshTextStream::read(std::int32_t characters) {
  requireMode(Mode::Read);
  if (characters < 0) raiseVbError(vberr::kInvalidProcedureCall);
  if (characters > 0 && !peek()) raiseVbError(vberr::kInputPastEndOfFile);
  std::u16string out;
  while (out.size() < static_cast<std::size_t>(characters)) {
    std::optional<char16_t> c = take();
    if (!c) break;
    out.push_back(*c);
  }
  return out;
}

std::u16string WshTextStream::readLine() {
  requireMode(Mode::Read);
  if (!peek()) raiseVbError(vberr::kInputPastEndOfFile);
  std::u16string out;
  while (std::optional<char16_t> c = take()) {
    if (*c == u'\n') break;
    out.push_back(*c);
  }
  if (!out.empty() && out.back() == u'\r') out.pop_back();
  return out;
}

std::u16string WshTextStream::readAll() {
  requireMode(Mode::Read);
  std::u16string out;
  while (std::optional<char16_t> c = take()) out.push_back(*c);
  return out;
}

void WshTextStream::skip(std::int32_t characters) {
  read(characters);
}

void WshTextStream::skipLine() {
  readLine();
}

bool WshTextStream::atEndOfStream() {
  requireMode(Mode::Read);
  return !peek();
}

bool WshTextStream::atEndOfLine() {
  requireMode(Mode::Read);
  std::optional<char16_t> c = peek();
  return !c || *c == u'\r' || *c == u'\n';
}

// The process's standard streams stay open; the script only loses its access.
void WshTextStream::close() {
  closed_ = true;
}

// ---- Arguments -------------------------------------------------------------------------------

const ClassInfo& WshNamed::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"WshNamed", [](ClassInfo& c) {
    ClassBuilder<WshNamed>(c)
        .get<&WshNamed::item>(u"Item")
        .method<&WshNamed::exists>(u"Exists")
        .get<&WshNamed::count>(u"Count")
        .get<&WshNamed::count>(u"Length")
        .defaultMember(u"Item")
        .enumerator<&WshNamed::newEnum>();
  });
  return info;
}

Variant WshNamed::item(const std::u16string& name) {
  for (auto& [key, value] : items_) {
    if (equalsNoCase(key, name)) return value;
  }
  return Variant();
}

bool WshNamed::exists(const std::u16string& name) {
  for (auto& item : items_) {
    if (equalsNoCase(item.first, name)) return true;
  }
  return false;
}

Ref<Enumerator> WshNamed::newEnum() {
  std::vector<Variant> names;
  for (auto& item : items_) names.emplace_back(item.first);
  return enumerate(std::move(names));
}

WshArgumentList::WshArgumentList(std::u16string className, std::vector<std::u16string> items,
                                 Ref<WshNamed> named, Ref<WshArgumentList> unnamed)
    : className_(std::move(className)),
      items_(std::move(items)),
      named_(std::move(named)),
      unnamed_(std::move(unnamed)) {}

const ClassInfo& WshArgumentList::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"WshArguments", [](ClassInfo& c) {
    ClassBuilder<WshArgumentList>(c)
        .get<&WshArgumentList::item>(u"Item")
        .get<&WshArgumentList::count>(u"Count")
        .get<&WshArgumentList::count>(u"Length")
        .rawGet(u"Named", &indexedGet<&WshArgumentList::named>)
        .rawGet(u"Unnamed", &indexedGet<&WshArgumentList::unnamed>)
        .defaultMember(u"Item")
        .enumerator<&WshArgumentList::newEnum>();
  });
  return info;
}

std::u16string WshArgumentList::item(std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= items_.size()) {
    raiseVbError(vberr::kSubscriptOutOfRange);
  }
  return items_[static_cast<std::size_t>(index)];
}

Ref<Enumerator> WshArgumentList::newEnum() {
  std::vector<Variant> values(items_.begin(), items_.end());
  return enumerate(std::move(values));
}

Ref<WshNamed> WshArgumentList::named() {
  if (!named_) raiseVbError(vberr::kNotSupported);
  return named_;
}

Ref<WshArgumentList> WshArgumentList::unnamed() {
  if (!unnamed_) raiseVbError(vberr::kNotSupported);
  return unnamed_;
}

Ref<WshArgumentList> makeWshArguments(const std::vector<std::u16string>& arguments) {
  std::vector<std::pair<std::u16string, Variant>> named;
  std::vector<std::u16string> unnamed;
  for (const std::u16string& a : arguments) {
    if (a.size() > 1 && a.front() == u'/') {
      const std::size_t colon = a.find(u':');
      if (colon == std::u16string::npos) {
        named.emplace_back(a.substr(1), Variant());
      } else {
        named.emplace_back(a.substr(1, colon - 1), Variant(a.substr(colon + 1)));
      }
    } else {
      unnamed.push_back(a);
    }
  }
  return makeRef<WshArgumentList>(u"WshArguments", arguments, makeRef<WshNamed>(std::move(named)),
                                  makeRef<WshArgumentList>(u"WshUnnamed", std::move(unnamed)));
}

// ---- WScript ---------------------------------------------------------------------------------

WScript::WScript(WScriptOptions options)
    : options_(std::move(options)),
      arguments_(makeWshArguments(options_.arguments)),
      stdOut_(makeRef<WshTextStream>(options_.out, WshTextStream::Mode::Write)),
      stdErr_(makeRef<WshTextStream>(options_.err, WshTextStream::Mode::Write)),
      stdIn_(makeRef<WshTextStream>(options_.in, WshTextStream::Mode::Read)) {}

const ClassInfo& WScript::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"WScript", [](ClassInfo& c) {
    ClassBuilder<WScript>(c)
        .rawMethod(u"Echo",
                   [](Object& self, CallArgs args) -> Variant {
                     static_cast<WScript&>(self).echo(args);
                     return Variant();
                   })
        .rawGet(u"Arguments", &indexedGet<&WScript::arguments>)
        .method<&WScript::quit>(u"Quit")
        .get<&WScript::scriptName>(u"ScriptName")
        .get<&WScript::scriptFullName>(u"ScriptFullName")
        .get<&WScript::path>(u"Path")
        .get<&WScript::fullName>(u"FullName")
        .get<&WScript::name>(u"Name")
        .get<&WScript::version>(u"Version")
        .get<&WScript::buildVersion>(u"BuildVersion")
        .prop<&WScript::timeout, &WScript::setTimeout>(u"Timeout")
        .get<&WScript::stdOut>(u"StdOut")
        .get<&WScript::stdErr>(u"StdErr")
        .get<&WScript::stdIn>(u"StdIn")
        .method<&WScript::sleep>(u"Sleep")
        .method<&WScript::createObject>(u"CreateObject")
        .prop<&WScript::interactive, &WScript::setInteractive>(u"Interactive")
        .defaultMember(u"Name");
  });
  return info;
}

void WScript::echo(CallArgs args) {
  std::u16string line;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i > 0) line.push_back(u' ');
    if (args.has(i)) line += echoText(args[i]);
  }
  stdOut_->writeLine(line);
}

void WScript::quit(std::optional<std::int32_t> code) {
  std::fflush(options_.out);
  std::fflush(options_.err);
  if (options_.quit) options_.quit(code.value_or(0));
}

void WScript::setTimeout(std::int32_t seconds) {
  if (seconds < 0) raiseVbError(vberr::kInvalidProcedureCall);
  timeout_ = seconds;
  // Counting starts afresh at each assignment; 0 ends the watch.
  timeoutWatch_ = {};
  if (seconds == 0 || !options_.timedOut) return;
  timeoutWatch_ = std::jthread([seconds, timedOut = options_.timedOut](std::stop_token stop) {
    std::mutex m;
    std::condition_variable_any wake;
    std::unique_lock lock(m);
    if (!wake.wait_for(lock, stop, std::chrono::seconds(seconds), [] { return false; }) &&
        !stop.stop_requested()) {
      timedOut();
    }
  });
}

std::u16string WScript::scriptName() const {
  return fs::fileNameOf(options_.scriptFullName);
}

std::u16string WScript::path() const {
  return fs::parentFolder(options_.hostFullName);
}

void WScript::sleep(std::int32_t milliseconds) {
  if (milliseconds < 0) raiseVbError(vberr::kInvalidProcedureCall);
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (auto now = std::chrono::steady_clock::now(); now < until;
       now = std::chrono::steady_clock::now()) {
    if (ui::interruptRequested()) {
      quit(kInterruptedExitCode);
      return;
    }
    std::this_thread::sleep_for(
        std::min<std::chrono::steady_clock::duration>(until - now, std::chrono::milliseconds(20)));
  }
}

Ref<Object> WScript::createObject(const std::u16string& progId, std::optional<std::u16string>) {
  return ClassFactory::instance().create(progId);
}

}  // namespace vantorel::vbs
