#include "command_line.hpp"

#include <cerrno>
#include <cstring>

namespace vantorel::cli {

namespace {

const OptionSpec* optionNamed(const CommandSpec& command, std::string_view word) {
  for (const OptionSpec& option : command.options) {
    if (word == option.longName || (option.shortName && word == option.shortName)) return &option;
  }
  return nullptr;
}

bool isHelp(std::string_view word) {
  return word == "--help" || word == "-h";
}

// The list of values for a message: "a, b or c".
std::string listed(const std::string_view* values) {
  std::string text;
  std::size_t n = 0;
  while (!values[n].empty()) ++n;
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0) text += i + 1 == n ? " or " : ", ";
    text += values[i];
  }
  return text;
}

bool sameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool isListed(const std::string_view* values, std::string_view value) {
  for (std::size_t i = 0; !values[i].empty(); ++i) {
    if (sameLetters(values[i], value)) return true;
  }
  return false;
}

}  // namespace

bool wantsHelp(const CommandSpec& command, int argc, char** argv) {
  for (int i = 0; i < argc; ++i) {
    if (isHelp(argv[i])) return true;
    if (command.operandTakesTheRest && argv[i][0] != '-') return false;
    const OptionSpec* option = optionNamed(command, argv[i]);
    if (option && option->value) ++i;  // a value that happens to read "--help" is a value
  }
  return false;
}

void printCommandHelp(const CommandSpec& command, std::FILE* out) {
  std::fprintf(out, "Usage: vantorel %s %s\n\n%s\n\nOptions:\n", command.name, command.synopsis,
               command.summary);
  for (const OptionSpec& option : command.options) {
    std::string words = option.shortName ? std::string(option.shortName) + ", " : "    ";
    words += option.longName;
    if (option.value) words += std::string(" ") + option.value;
    std::fprintf(out, "  %-28s %s\n", words.c_str(), option.help);
  }
}

std::string badWord(const CommandSpec& command, int argc, char** argv, OptionValues values) {
  bool haveOperand = false;
  for (int i = 0; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (command.operandTakesTheRest && haveOperand) return {};
    if (word.empty())
      return "an empty word where " + std::string(command.operand) +
             " or an "
             "option belongs";
    if (word[0] != '-' || word == "-") {
      if (haveOperand) return "unexpected argument '" + std::string(word) + "'";
      haveOperand = true;
      continue;
    }
    const std::size_t equals = word.find('=');
    const std::string_view name = word.substr(0, equals);
    const OptionSpec* option = optionNamed(command, name);
    if (!option || (equals != std::string_view::npos && name.size() < 3)) {
      return "unknown option '" + std::string(word) + "'";
    }
    if (!option->value) {
      if (equals != std::string_view::npos) {
        return "the option " + std::string(option->longName) + " takes no value: '" +
               std::string(word) + "'";
      }
      continue;
    }
    std::string_view value;
    if (equals != std::string_view::npos) {
      value = word.substr(equals + 1);
    } else if (i + 1 < argc) {
      value = argv[++i];
    } else {
      return "the option " + std::string(name) + " needs a value (" + option->value + ")";
    }
    if (value.empty()) {
      return "the option " + std::string(name) + " needs a value (" + option->value + ")";
    }
    if (const std::string_view* allowed = values(command, *option);
        allowed && !isListed(allowed, value)) {
      return "unknown value '" + std::string(value) + "' of " + option->longName + " (" +
             listed(allowed) + ")";
    }
  }
  if (!haveOperand) return "missing " + std::string(command.operand);
  return {};
}

bool standardOutputWritten() {
  errno = 0;
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  const int error = errno;
  std::fprintf(stderr, "vantorel: standard output could not be written: %s\n",
               error != 0 ? std::strerror(error) : "write error");
  return false;
}

}  // namespace vantorel::cli
