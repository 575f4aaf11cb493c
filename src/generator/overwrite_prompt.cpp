#include "generator/overwrite_prompt.hpp"

#include <vector>

#include "foundation/project_context.hpp"
#include "generator/generation_run.hpp"
#include "platform/fs/path.hpp"
#include "platform/ui/ui.hpp"

namespace vantorel {

std::u16string ShortenPath(std::u16string_view path) {
  if (path.size() <= kPromptPathWidth) return std::u16string(path);
  // Engine paths use '/', older ones '\'; the shortened text keeps the path's own separator.
  char16_t separator = u'/';
  std::vector<std::u16string_view> pieces;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || fs::isSeparator(path[i])) {
      if (i < path.size() && pieces.empty()) separator = path[i];
      pieces.push_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  std::size_t removed = 0;
  std::size_t keepFrom = pieces.size();
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    if (removed > 0) ++removed;
    removed += pieces[i].size();
    if (path.size() - removed + 3 <= kPromptPathWidth) {
      keepFrom = i + 1;
      break;
    }
  }
  std::u16string result(pieces[0]);
  result += separator;
  result += u"...";
  for (std::size_t j = keepFrom; j < pieces.size(); ++j) {
    result += separator;
    result += pieces[j];
  }
  return result;
}

std::u16string overwritePromptText(const GenerationRun& run) {
  if (!run.overwritePromptFile.empty()) {
    return u"File " + ShortenPath(run.overwritePromptFile) + u" already exists!";
  }
  return u"Folder " + ShortenPath(run.overwritePromptFolder) + u" already exists!";
}

void ShowOverwritePrompt(GenerationRun& run) {
  switch (
      ui::askOverwrite(overwritePromptText(run), projectContext().productTitle, ui::Answer::No)) {
    case ui::Answer::YesToAll:
      run.overwriteAllAnswer = u"O";
      [[fallthrough]];
    case ui::Answer::Yes:
      run.overwriteAnswer = true;
      break;
    case ui::Answer::NoToAll:
      run.overwriteAllAnswer = u"S";
      run.overwriteAnswer = false;
      break;
    case ui::Answer::Cancel:
      run.overwriteAllAnswer = u"C";
      break;
    default:
      // Skip, or the prompt closed without an answer: the target is not written.
      run.overwriteAnswer = false;
      break;
  }
}

}  // namespace vantorel
