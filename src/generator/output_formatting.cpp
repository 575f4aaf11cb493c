#include "generator/output_formatting.hpp"

#include <array>
#include <utility>

#include "foundation/product.hpp"
#include "foundation/project_context.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"

namespace vantorel {

namespace {

constexpr std::u16string_view kCrLf = u"\r\n";
constexpr std::u16string_view kHeadClose = u"</head>";
constexpr std::array<std::u16string_view, 6> kDeclarations = {
    u"class ", u"private ", u"public ", u"property ", u"function ", u"sub "};

// 1-based positions of the first "<%" and the first "%>" in line, 0 where absent. Both hold a
// '%', which most lines lack, so one pass over the line finds both.
void scriptMarks(std::u16string_view line, std::size_t& open, std::size_t& close) {
  open = 0;
  close = 0;
  for (std::size_t at = findUnit(line, u'%'); at != std::u16string_view::npos && (!open || !close);
       at = findUnit(line, u'%', at + 1)) {
    if (!open && at > 0 && line[at - 1] == u'<') open = at;
    if (!close && at + 1 < line.size() && line[at + 1] == u'>') close = at + 1;
  }
}

// Where "</head>" starts, in any case, at or after from; npos when nowhere. No character but
// the ASCII ones folds to its letters, so comparing in place finds what lowering all would.
std::size_t findHeadClose(std::u16string_view text, std::size_t from) {
  for (std::size_t at = findUnit(text, u'<', from); at != std::u16string_view::npos;
       at = findUnit(text, u'<', at + 1)) {
    if (at + 1 < text.size() && text[at + 1] == u'/' &&
        equalsNoCase(text.substr(at, kHeadClose.size()), kHeadClose)) {
      return at;
    }
  }
  return std::u16string_view::npos;
}

std::u16string stampHeads(std::u16string text, std::u16string_view tag) {
  std::size_t at = findHeadClose(text, 0);
  if (at == std::u16string::npos) return text;
  std::u16string out;
  out.reserve(text.size() + tag.size() + kCrLf.size());
  std::size_t from = 0;
  for (; at != std::u16string::npos; at = findHeadClose(text, from)) {
    out.append(text, from, at - from);
    out += tag;
    out += kCrLf;
    out += kHeadClose;
    from = at + kHeadClose.size();
  }
  out.append(text, from);
  return out;
}

}  // namespace

void FormatOutputLine(std::int32_t& lineNo, std::u16string& output, std::u16string_view line,
                      std::int32_t& codeRun, std::int32_t& commentRun,
                      std::u16string& commentMarker, std::u16string& language) {
  if (language != u"js") {
    std::size_t p1 = 0;
    std::size_t p2 = 0;
    scriptMarks(line, p1, p2);
    if (p1 >= 1 && p1 > p2) {
      language = u"asp";
    } else if (p2 >= 1 && p1 < p2) {
      language.clear();
    }
  }
  const std::size_t first = line.find_first_not_of(u" \t");
  if (first == std::u16string_view::npos) return;
  const std::u16string_view rest = line.substr(first);

  bool comment = false;
  if (language == u"asp") {
    if (rest.front() == u'\'') {
      comment = true;
      commentMarker = u"'";
    }
  } else if (language == u"js") {
    if (rest.starts_with(u"//")) {
      comment = true;
      if (commentMarker != u"//") {
        commentRun = 0;
        commentMarker = u"//";
      }
    } else if (rest.starts_with(u"/*")) {
      comment = true;
      commentRun = 0;
      commentMarker = u"/*";
    }
  }

  bool declaration = false;
  if (!comment && language == u"asp") {
    for (std::u16string_view keyword : kDeclarations)
      declaration |= startsWithNoCase(rest, keyword);
  }

  if (comment) {
    if (commentRun == 0 && lineNo >= 2) output += kCrLf;
    ++commentRun;
    codeRun = 0;
  } else if (declaration) {
    if (commentRun == 0) output += kCrLf;
    commentRun = 0;
    codeRun = 0;
  } else {
    if (codeRun == 0 && commentRun >= 2) output += kCrLf;
    commentRun = 0;
    ++codeRun;
  }
  output += line;
  output += kCrLf;
}

std::u16string GeneratorTag() {
  return u"<meta name=\"generator\" content=\"" + projectContext().productTitle + u" v" +
         fullVersion() + u"\" />";
}

std::u16string FormatGeneratedOutput(std::u16string_view outputExt, std::u16string_view text) {
  return FormatGeneratedOutput(outputExt, text, GeneratorTag());
}

std::u16string FormatGeneratedOutput(std::u16string_view outputExt, std::u16string_view text,
                                     std::u16string_view generatorTag) {
  std::u16string language = outputExt == u"js" ? u"js" : u"";
  std::u16string output;
  // Room for the text and a blank line every few lines.
  output.reserve(text.size() + text.size() / 8);
  std::u16string commentMarker;
  std::int32_t lineNo = 0;
  std::int32_t codeRun = 0;
  std::int32_t commentRun = 0;
  const auto handle = [&](std::u16string_view line) {
    if (line.empty()) return;
    ++lineNo;
    FormatOutputLine(lineNo, output, line, codeRun, commentRun, commentMarker, language);
  };
  std::size_t start = 0;
  for (std::size_t cr = findUnit(text, u'\r'); cr != std::u16string_view::npos;
       cr = findUnit(text, u'\r', start)) {
    handle(text.substr(start, cr - start));
    start = cr + 1;
    if (start < text.size() && text[start] == u'\n') ++start;
  }
  handle(text.substr(start));
  return stampHeads(std::move(output), generatorTag);
}

std::u16string TrimLeadingBlankLines(std::u16string_view text) {
  const std::size_t first = text.find_first_not_of(u"\r\n \t");
  const std::size_t limit = first == std::u16string_view::npos ? text.size() : first;
  const std::size_t lastBreak = text.substr(0, limit).find_last_of(u"\r\n");
  if (lastBreak == std::u16string_view::npos) return std::u16string(text);
  return std::u16string(text.substr(lastBreak + 1));
}

}  // namespace vantorel
