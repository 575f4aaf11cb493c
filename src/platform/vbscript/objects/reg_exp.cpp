#include "platform/vbscript/objects/reg_exp.hpp"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/automation/bind.hpp"
#include "platform/vbscript/objects/reg_exp_translate.hpp"

namespace vantorel::vbs {

struct CompiledPattern {
  pcre2_code* code = nullptr;
  std::uint32_t groups = 0;

  CompiledPattern() = default;
  CompiledPattern(const CompiledPattern&) = delete;
  CompiledPattern& operator=(const CompiledPattern&) = delete;
  ~CompiledPattern() { pcre2_code_free(code); }
};

namespace {

PCRE2_SPTR units(std::u16string_view s) {
  return reinterpret_cast<PCRE2_SPTR>(s.data());
}

std::shared_ptr<const CompiledPattern> compile(std::u16string_view pattern, bool ignoreCase,
                                               bool multiline) {
  const TranslatedPattern translated = translatePattern(pattern, ignoreCase, multiline);
  pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
  if (!context) raiseVbError(vberr::kOutOfMemory);
  // Only \n ends a line for `.`; ^ and $ with Multiline are spelt out by the translation.
  pcre2_set_newline(context, PCRE2_NEWLINE_LF);
  std::uint32_t options = PCRE2_DOLLAR_ENDONLY | PCRE2_MATCH_UNSET_BACKREF;
  if (ignoreCase) options |= PCRE2_CASELESS;
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  pcre2_code* code = pcre2_compile(units(translated.pcre), translated.pcre.size(), options,
                                   &errorCode, &errorOffset, context);
  pcre2_compile_context_free(context);
  if (!code) raiseVbError(vberr::kRegExpSyntax);
  auto compiled = std::make_shared<CompiledPattern>();
  compiled->code = code;
  // Without JIT support the interpreter still matches; only slower.
  pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);
  pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &compiled->groups);
  return compiled;
}

// Scripts often create a RegExp per call of a function; compiled patterns are shared by text
// and flags so that each is compiled once.
std::shared_ptr<const CompiledPattern> cachedCompile(const std::u16string& pattern, bool ignoreCase,
                                                     bool multiline) {
  static std::mutex mutex;
  static std::unordered_map<std::u16string, std::shared_ptr<const CompiledPattern>> cache;
  constexpr std::size_t kMaxEntries = 256;
  std::u16string key;
  key.reserve(pattern.size() + 1);
  key += static_cast<char16_t>(u'0' + (ignoreCase ? 1 : 0) + (multiline ? 2 : 0));
  key += pattern;
  {
    std::lock_guard lock(mutex);
    if (auto it = cache.find(key); it != cache.end()) return it->second;
  }
  auto compiled = compile(pattern, ignoreCase, multiline);
  std::lock_guard lock(mutex);
  if (cache.size() >= kMaxEntries) cache.clear();
  cache.emplace(std::move(key), compiled);
  return compiled;
}

// A match context with a JIT stack large enough for deeply nested repeats, one per thread.
class MatchResources {
 public:
  MatchResources() {
    context_ = pcre2_match_context_create(nullptr);
    // The stack is reserved address space, committed only as far as a match goes.
    stack_ = pcre2_jit_stack_create(32 * 1024, 64 * 1024 * 1024, nullptr);
    if (context_ && stack_) pcre2_jit_stack_assign(context_, nullptr, stack_);
    if (context_) pcre2_set_heap_limit(context_, 128 * 1024);  // KiB, for the interpreter
  }
  ~MatchResources() {
    pcre2_jit_stack_free(stack_);
    pcre2_match_context_free(context_);
  }
  MatchResources(const MatchResources&) = delete;
  MatchResources& operator=(const MatchResources&) = delete;
  pcre2_match_context* context() const { return context_; }

 private:
  pcre2_match_context* context_ = nullptr;
  pcre2_jit_stack* stack_ = nullptr;
};

pcre2_match_context* matchContext() {
  thread_local MatchResources resources;
  return resources.context();
}

// Walks the matches of one pattern over one text. Each walk has its own match data, so a
// replacement function may use the same RegExp again while a Replace is under way.
class Matcher {
 public:
  Matcher(const CompiledPattern& compiled, std::u16string_view text)
      : code_(compiled.code),
        text_(text),
        data_(pcre2_match_data_create_from_pattern(code_, nullptr)) {
    if (!data_) raiseVbError(vberr::kOutOfMemory);
    ovector_ = pcre2_get_ovector_pointer(data_);
  }
  ~Matcher() { pcre2_match_data_free(data_); }
  Matcher(const Matcher&) = delete;
  Matcher& operator=(const Matcher&) = delete;

  // The first match at or after `from`.
  bool find(std::size_t from) {
    if (from > text_.size()) return false;
    int rc = pcre2_match(code_, units(text_), text_.size(), from, 0, data_, matchContext());
    // The interpreter keeps its backtracking frames on the heap, so it goes deeper than JIT.
    if (rc == PCRE2_ERROR_JIT_STACKLIMIT) {
      rc =
          pcre2_match(code_, units(text_), text_.size(), from, PCRE2_NO_JIT, data_, matchContext());
    }
    if (rc == PCRE2_ERROR_NOMATCH) return false;
    if (rc < 0)
      raiseVbError(rc == PCRE2_ERROR_NOMEMORY ? vberr::kOutOfMemory : vberr::kOutOfStackSpace);
    return true;
  }
  std::size_t begin(std::size_t group = 0) const { return ovector_[2 * group]; }
  std::size_t end(std::size_t group = 0) const { return ovector_[2 * group + 1]; }
  bool matched(std::size_t group) const { return ovector_[2 * group] != PCRE2_UNSET; }
  std::u16string_view text(std::size_t group) const {
    return matched(group) ? text_.substr(begin(group), end(group) - begin(group))
                          : std::u16string_view();
  }
  // Where the next search of a global walk starts: past an empty match by one, as JScript does.
  std::size_t nextStart() const { return end() == begin() ? end() + 1 : end(); }

 private:
  pcre2_code* code_;
  std::u16string_view text_;
  pcre2_match_data* data_;
  PCRE2_SIZE* ovector_;
};

// One piece of a replacement template.
struct Piece {
  enum Kind : std::uint8_t { kLiteral, kGroup, kMatch, kBefore, kAfter };
  Kind kind;
  std::uint32_t group = 0;
  std::u16string text;
};

// A replacement that is no string converts as a number does: True gives "-1", not "True".
std::u16string replacementText(const Variant& v) {
  if (v.type() == VarType::Boolean) return v.boolValue() ? u"-1" : u"0";
  return toString(v);
}

std::vector<Piece> parseReplacement(std::u16string_view tpl, std::uint32_t groups) {
  std::vector<Piece> pieces;
  std::u16string literal;
  auto flush = [&] {
    if (!literal.empty()) pieces.push_back(Piece{Piece::kLiteral, 0, std::move(literal)});
    literal.clear();
  };
  auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
  std::size_t i = 0;
  while (i < tpl.size()) {
    const char16_t c = tpl[i];
    if (c != u'$' || i + 1 >= tpl.size()) {
      literal += c;
      ++i;
      continue;
    }
    const char16_t d = tpl[i + 1];
    Piece::Kind kind = Piece::kLiteral;
    std::uint32_t group = 0;
    std::size_t used = 2;
    if (d == u'$') {
      literal += u'$';
      i += 2;
      continue;
    }
    if (d == u'&') {
      kind = Piece::kMatch;
    } else if (d == u'`') {
      kind = Piece::kBefore;
    } else if (d == u'\'') {
      kind = Piece::kAfter;
    } else if (isDigit(d)) {
      const std::uint32_t one = d - u'0';
      const bool two = i + 2 < tpl.size() && isDigit(tpl[i + 2]);
      const std::uint32_t both = two ? one * 10 + (tpl[i + 2] - u'0') : 0;
      if (two && both >= 1 && both <= groups) {
        kind = Piece::kGroup;
        group = both;
        used = 3;
      } else if (one >= 1 && one <= groups) {
        kind = Piece::kGroup;
        group = one;
      }
    }
    if (kind == Piece::kLiteral) {
      literal += c;  // a dollar sign that starts nothing
      ++i;
      continue;
    }
    flush();
    pieces.push_back(Piece{kind, group, {}});
    i += used;
  }
  flush();
  return pieces;
}

Variant groupValue(const Matcher& m, std::size_t group) {
  return m.matched(group) ? Variant(std::u16string(m.text(group))) : Variant();
}

}  // namespace

const ClassInfo& RegExp::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"IRegExp2", [](ClassInfo& c) {
    ClassBuilder<RegExp>(c)
        .prop<&RegExp::pattern, &RegExp::setPattern>(u"Pattern")
        .prop<&RegExp::ignoreCase, &RegExp::setIgnoreCase>(u"IgnoreCase")
        .prop<&RegExp::global, &RegExp::setGlobal>(u"Global")
        .prop<&RegExp::multiline, &RegExp::setMultiline>(u"Multiline")
        .method<&RegExp::execute>(u"Execute")
        .method<&RegExp::test>(u"Test")
        .method<&RegExp::replace>(u"Replace");
  });
  return info;
}

void RegExp::setPattern(const std::u16string& pattern) {
  if (pattern == pattern_) return;
  pattern_ = pattern;
  compiled_.reset();
}

void RegExp::setIgnoreCase(bool value) {
  if (value == ignoreCase_) return;
  ignoreCase_ = value;
  compiled_.reset();
}

void RegExp::setMultiline(bool value) {
  if (value == multiline_) return;
  multiline_ = value;
  compiled_.reset();
}

std::shared_ptr<const CompiledPattern> RegExp::compiled() {
  if (!compiled_) compiled_ = cachedCompile(pattern_, ignoreCase_, multiline_);
  return compiled_;
}

bool RegExp::test(const std::u16string& text) {
  const auto code = compiled();
  Matcher m(*code, text);
  return m.find(0);
}

Ref<Matches> RegExp::execute(const std::u16string& text) {
  const auto code = compiled();
  Matcher m(*code, text);
  std::vector<Ref<Match>> found;
  for (std::size_t from = 0; m.find(from); from = m.nextStart()) {
    std::vector<Variant> subs;
    subs.reserve(code->groups);
    for (std::uint32_t g = 1; g <= code->groups; ++g) subs.push_back(groupValue(m, g));
    found.push_back(makeRef<Match>(std::u16string(m.text(0)), static_cast<std::int32_t>(m.begin()),
                                   std::move(subs)));
    if (!global_) break;
  }
  return makeRef<Matches>(std::move(found));
}

std::u16string RegExp::replace(const std::u16string& text, const Variant& replacement) {
  const auto code = compiled();
  Object* function = replacement.isObject() ? replacement.objectValue() : nullptr;
  std::vector<Piece> pieces;
  if (!function) pieces = parseReplacement(replacementText(replacement), code->groups);

  Matcher m(*code, text);
  std::u16string out;
  out.reserve(text.size());
  std::size_t copied = 0;
  std::vector<Variant> args;
  std::vector<Variant*> pointers;
  const Variant source = function ? Variant(text) : Variant();  // shared by every call
  for (std::size_t from = 0; m.find(from); from = m.nextStart()) {
    const std::size_t begin = m.begin();
    const std::size_t end = m.end();
    out.append(text, copied, begin - copied);
    if (function) {
      args.clear();
      args.emplace_back(std::u16string(m.text(0)));
      for (std::uint32_t g = 1; g <= code->groups; ++g) args.push_back(groupValue(m, g));
      args.emplace_back(static_cast<std::int32_t>(begin));
      args.push_back(source);
      pointers.clear();
      for (Variant& a : args) pointers.push_back(&a);
      out +=
          toString(function->invoke(kDispIdValue, kInvokeMethod | kInvokeGet, CallArgs(pointers)));
    } else {
      for (const Piece& piece : pieces) {
        switch (piece.kind) {
          case Piece::kLiteral:
            out += piece.text;
            break;
          case Piece::kGroup:
            out += m.text(piece.group);
            break;
          case Piece::kMatch:
            out.append(text, begin, end - begin);
            break;
          case Piece::kBefore:
            out.append(text, 0, begin);
            break;
          case Piece::kAfter:
            out.append(text, end);
            break;
        }
      }
    }
    copied = end;
    if (!global_) break;
  }
  out.append(text, copied);
  return out;
}

}  // namespace vantorel::vbs
