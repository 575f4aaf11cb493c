#pragma once
// The WScript object a stand-alone script sees: echo, arguments, standard streams, quitting,
// sleeping and creating objects, as the Windows Script Host's console host offers them.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/automation/enumerator.hpp"
#include "platform/automation/object.hpp"

namespace vantorel::vbs {

// One of the standard streams, as a TextStream: text is UTF-8 on the wire.
class WshTextStream final : public Object {
 public:
  enum class Mode { Read, Write };
  WshTextStream(std::FILE* file, Mode mode) : file_(file), mode_(mode) {}
  const ClassInfo& classInfo() const noexcept override;
  std::u16string typeName() const override { return u"TextStream"; }

  void write(const std::u16string& text);
  void writeLine(std::optional<std::u16string> text);
  void writeBlankLines(std::int32_t lines);
  std::u16string read(std::int32_t characters);
  std::u16string readLine();
  std::u16string readAll();
  void skip(std::int32_t characters);
  void skipLine();
  bool atEndOfStream();
  bool atEndOfLine();
  std::int32_t line() const { return line_; }
  std::int32_t column() const { return column_; }
  void close();

 private:
  void requireMode(Mode mode) const;
  // One character (a UTF-16 unit; code points beyond the BMP come as two); nothing at the end.
  std::optional<char16_t> take();
  std::optional<char16_t> peek();
  void advance(char16_t c);

  std::FILE* file_;
  Mode mode_;
  bool closed_ = false;
  std::u16string pending_;  // decoded but not yet taken
  std::int32_t line_ = 1;
  std::int32_t column_ = 1;
};

// Named arguments: "/name:value" or "/name" (the value Empty), names without regard to case.
class WshNamed final : public Object {
 public:
  explicit WshNamed(std::vector<std::pair<std::u16string, Variant>> items)
      : items_(std::move(items)) {}
  const ClassInfo& classInfo() const noexcept override;

  Variant item(const std::u16string& name);
  bool exists(const std::u16string& name);
  std::int32_t count() const { return static_cast<std::int32_t>(items_.size()); }
  Ref<Enumerator> newEnum();

 private:
  std::vector<std::pair<std::u16string, Variant>> items_;
};

// A list of arguments by 0-based position: all of them (WshArguments) or the unnamed ones.
class WshArgumentList final : public Object {
 public:
  WshArgumentList(std::u16string className, std::vector<std::u16string> items,
                  Ref<WshNamed> named = {}, Ref<WshArgumentList> unnamed = {});
  const ClassInfo& classInfo() const noexcept override;
  std::u16string typeName() const override { return className_; }

  std::u16string item(std::int32_t index);
  std::int32_t count() const { return static_cast<std::int32_t>(items_.size()); }
  Ref<Enumerator> newEnum();
  Ref<WshNamed> named();
  Ref<WshArgumentList> unnamed();

 private:
  std::u16string className_;
  std::vector<std::u16string> items_;
  Ref<WshNamed> named_;
  Ref<WshArgumentList> unnamed_;
};

Ref<WshArgumentList> makeWshArguments(const std::vector<std::u16string>& arguments);

struct WScriptOptions {
  std::u16string scriptFullName;  // absolute path of the script
  std::u16string hostFullName;    // absolute path of the host program
  std::vector<std::u16string> arguments;
  std::FILE* out = stdout;
  std::FILE* err = stderr;
  std::FILE* in = stdin;
  // Ends the script with the exit code; the host decides how (the program exits).
  std::function<void(int)> quit;
  // Ends the script from a watch thread once WScript.Timeout has passed; without it the
  // timeout is kept but not enforced.
  std::function<void()> timedOut;
};

class WScript final : public Object {
 public:
  explicit WScript(WScriptOptions options);
  const ClassInfo& classInfo() const noexcept override;
  std::u16string typeName() const override { return u"Object"; }

  // Echo's arguments joined by one space, as one line.
  void echo(CallArgs args);
  Ref<WshArgumentList> arguments() { return arguments_; }
  void quit(std::optional<std::int32_t> code);
  std::u16string scriptName() const;
  std::u16string scriptFullName() const { return options_.scriptFullName; }
  std::u16string path() const;
  std::u16string fullName() const { return options_.hostFullName; }
  std::u16string name() const { return u"Windows Script Host"; }
  std::u16string version() const { return u"5.8"; }
  std::int32_t buildVersion() const { return 18362; }
  // Seconds the script may run; 0 for no limit. Enforced through WScriptOptions::timedOut.
  std::int32_t timeout() const { return timeout_; }
  void setTimeout(std::int32_t seconds);
  Ref<WshTextStream> stdOut() { return stdOut_; }
  Ref<WshTextStream> stdErr() { return stdErr_; }
  Ref<WshTextStream> stdIn() { return stdIn_; }
  // Ctrl-C while sleeping quits the script with exit code 130.
  void sleep(std::int32_t milliseconds);
  Ref<Object> createObject(const std::u16string& progId, std::optional<std::u16string> prefix);
  bool interactive() const { return interactive_; }
  void setInteractive(bool interactive) { interactive_ = interactive; }

 private:
  WScriptOptions options_;
  Ref<WshArgumentList> arguments_;
  Ref<WshTextStream> stdOut_;
  Ref<WshTextStream> stdErr_;
  Ref<WshTextStream> stdIn_;
  bool interactive_ = true;
  std::int32_t timeout_ = 0;
  std::jthread timeoutWatch_;  // last member: stopped and joined first
};

}  // namespace vantorel::vbs
