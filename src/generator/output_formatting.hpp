#pragma once
// The post-processing of a generated page: blank lines go, except the few that set comment
// blocks and ASP declarations apart, and every HTML head gets the generator tag. Pages of
// controls that keep their spacing only lose their leading blank lines.
#include <cstdint>
#include <string>
#include <string_view>

namespace vantorel {

// Compacts text line by line (a line ends at CR, CR LF counting as one break; a lone LF is an
// ordinary character) and puts the generator tag before each "</head>" (any case), which comes
// out in lower case. outputExt "js" (exactly) reads the page as JavaScript.
std::u16string FormatGeneratedOutput(std::u16string_view outputExt, std::u16string_view text);
// The same with the generator tag given, for a thread other than the run's.
std::u16string FormatGeneratedOutput(std::u16string_view outputExt, std::u16string_view text,
                                     std::u16string_view generatorTag);
// The tag the run's pages get before "</head>": the product and its version.
std::u16string GeneratorTag();

// Appends one line to output with CR LF, preceded by an empty line where a comment block or an
// ASP declaration starts or a comment block of two or more lines ends. The other arguments are
// the state carried from line to line: language ("asp", "js" or ""), the runs of code and
// comment lines, and the comment marker last seen. A blank line appends nothing.
void FormatOutputLine(std::int32_t& lineNo, std::u16string& output, std::u16string_view line,
                      std::int32_t& codeRun, std::int32_t& commentRun,
                      std::u16string& commentMarker, std::u16string& language);

// The text from the start of its first line that holds anything but blanks and tabs; the
// indentation of that line stays.
std::u16string TrimLeadingBlankLines(std::u16string_view text);

}  // namespace vantorel
