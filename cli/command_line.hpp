#pragma once
// The words each command takes, in one table: the help a command shows, and the check that names
// a word it does not take before any work starts.
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

namespace vantorel::cli {

struct OptionSpec {
  const char* longName;   // "--destination"
  const char* shortName;  // "-d", or nullptr
  const char* value;      // the value's name ("DIR"), or nullptr for a switch
  const char* help;
};

struct CommandSpec {
  const char* name;
  int (*run)(int argc, char** argv);
  const char* synopsis;
  const char* summary;
  std::span<const OptionSpec> options;
  const char* operand;  // the one word that is not an option ("PROJECT.vtp")
  // The words after the operand belong to it (a script's arguments), options included.
  bool operandTakesTheRest;
};

// The values an option accepts, when they are a fixed list; nullptr for any value.
using OptionValues = const std::string_view* (*)(const CommandSpec&, const OptionSpec&);

// "--help" or "-h" among the command's own words (for `run`, only before the script).
bool wantsHelp(const CommandSpec& command, int argc, char** argv);
// The command's synopsis, summary and options.
void printCommandHelp(const CommandSpec& command, std::FILE* out);
// Why the words cannot be taken, naming the first bad one; "" when they can.
std::string badWord(const CommandSpec& command, int argc, char** argv, OptionValues values);

// Flushes standard output; false, with the reason on standard error, when some of it could not
// be written.
bool standardOutputWritten();

}  // namespace vantorel::cli
