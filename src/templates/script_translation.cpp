#include "templates/script_translation.hpp"

#include <utility>

#include "foundation/script_text.hpp"
#include "foundation/string_builder.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/strings.hpp"
#include "platform/ui/ui.hpp"
#include "templates/template_parser.hpp"

namespace vantorel::templates {

namespace {

constexpr std::u16string_view kCrLf = u"\r\n";

}  // namespace

std::optional<TemplateParseError> translateSystemSource(std::u16string_view source, bool multiline,
                                                        bool indent,
                                                        std::u16string_view functionName,
                                                        std::u16string& out) {
  const Ref<AGParser> parser = makeRef<AGParser>();
  if (std::optional<TemplateParseError> error = parser->parse(std::u16string(source))) {
    out.assign(source);
    return error;
  }
  const std::u16string n(functionName);
  const std::u16string append = n + u" = " + n + u" & ";
  out.clear();
  for (std::int32_t i = 1; i <= parser->Count(); ++i) {
    const AGBlock& block = parser->block(i);
    const std::u16string name(block.BlockName);
    switch (block.BlockType) {
      case kBlockCode:
        out += parser->blockValue(i);
        break;
      case kBlockExpression:
        out += append + name;
        break;
      case kBlockIndented:
        out += u"zt_IndentWrk = \"" + std::u16string(block.BlockIndent) + u"\"";
        out += kCrLf;
        out += append + u"zt_IndentWrk & " + name;
        break;
      case kBlockPhrase:
        out += append + u"Language.Phrase(" + toString(QuoteStr(Variant(name), Variant(1))) + u")";
        break;
      case kBlockPhraseExpr:
        out += append + u"Language.Phrase(" + name + u")";
        break;
      case kBlockText: {
        std::u16string text(parser->blockValue(i));
        if (!multiline) text = replaceAll(text, kCrLf, u"");
        if (text.empty()) continue;
        const std::u16string expr = TextToVbsExpr(text, indent ? u"zt_IndentWrk" : u"");
        out += n.empty() ? expr : append + expr;
        break;
      }
      default:
        continue;
    }
    out += kCrLf;
  }
  return std::nullopt;
}

std::u16string wrapSystemFunction(std::u16string_view name, std::u16string_view parm,
                                  std::u16string_view body, std::u16string_view prefix,
                                  std::u16string_view suffix, bool override) {
  const auto fill = [&](std::u16string_view text) {
    return replaceAll(replaceAll(text, u"<name>", name), u"<parm>", parm);
  };
  const std::u16string n(name);
  std::u16string out;
  out += kCrLf;
  out += u"' " + n;
  out += kCrLf;
  out += u"Function " + n + u"(" + std::u16string(parm) + u")";
  out += kCrLf;
  out += fill(prefix);
  out += body;
  out += fill(suffix);
  if (override) {
    out += kCrLf;
    out += u"If SCRPT.UserModuleExist(\"USER_" + n + u"\") Then " + n + u"=USER_" + n + u"(" + n +
           u")";
    out += kCrLf;
  }
  out += u"End Function";
  out += kCrLf;
  return out;
}

std::optional<TemplateParseError> translateTemplateText(std::u16string_view text,
                                                        AGPStringBuilder& arrays,
                                                        AGPStringBuilder& body,
                                                        std::int32_t& textCount) {
  const Ref<AGParser> parser = makeRef<AGParser>();
  if (std::optional<TemplateParseError> error = parser->parse(std::u16string(text))) return error;
  const auto line = [](AGPStringBuilder& to, std::u16string_view s) {
    to.appendText(s);
    to.appendText(kCrLf);
  };
  for (std::int32_t i = 1; i <= parser->Count(); ++i) {
    ui::yieldToHost();
    const AGBlock& block = parser->block(i);
    const std::u16string name(block.BlockName);
    switch (block.BlockType) {
      case kBlockCode:
        line(body, parser->blockValue(i));
        break;
      case kBlockExpression:
        line(body, u"ztSB.Append(" + name + u")");
        break;
      case kBlockIndented:
        line(body, u"zt_IndentWrk = \"" + std::u16string(block.BlockIndent) + u"\"");
        line(body, u"ztSB.Append(zt_IndentWrk)");
        line(body, u"ztSB.Append(" + name + u")");
        break;
      case kBlockPhrase:
        // The key stands in a string literal of the page inside a string literal of this script,
        // so each quote in it is doubled twice.
        line(body, u"ztSB.Append(\"<%= ReportLanguage.Phrase(\"\"" +
                       replaceAll(name, u"\"", u"\"\"\"\"") + u"\"\") %>\")");
        break;
      case kBlockPhraseExpr:
        line(body,
             u"ztSB.Append(\"<%= ReportLanguage.Phrase(\"\"\" & " + name + u" & \"\"\") %>\")");
        break;
      case kBlockText: {
        const std::u16string expr = TextToVbsExpr(parser->blockValue(i), u"");
        if (expr.empty()) break;
        const std::u16string n = toU16(++textCount);
        line(arrays, u"ztAr(" + n + u") = " + expr);
        line(body, u"ztSB.Append(ztAr(" + n + u"))");
        break;
      }
      default:
        break;
    }
  }
  return std::nullopt;
}

}  // namespace vantorel::templates
