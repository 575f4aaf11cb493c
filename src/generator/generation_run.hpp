#pragma once
// One AGP.GenScript or AGP.GenCheck call: where the run stands (the control, table, field and
// output being made), the user's answers to the overwrite prompt, how it ended early, and the
// objects it works with (script engines, template controls and caches). Made on the stack at
// the call's start and passed to every step; its destructor releases what the run made, on
// every path out, so nothing of it is left for the next run.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/registry_defaults.hpp"
#include "generator/template_compiler.hpp"
#include "platform/automation/ref.hpp"
#include "platform/fs/deferred_writes.hpp"
#include "platform/fs/file_lock.hpp"
#include "platform/fs/files.hpp"

namespace vantorel {

class AGP;
class AGPCache;
class AGPControl;
class AGPControls;
class AGPField;
class AGPFileCache;
class AGPTable;
class AGScript;

// One file a generation writes, or, in the check pass, would write.
struct SiteOutput {
  std::u16string path;
  // The table whose output list holds its item; empty for the project's list.
  std::u16string table;
  // The id of the item that switches it off; empty when no item does.
  std::u16string itemId;
  // A field's page, which the table's list switches off as a whole.
  bool fieldPage = false;
};

class GenerationRun {
 public:
  // Takes the project's template controls, which outlive the run because scripts outside a
  // generation see them too.
  explicit GenerationRun(AGP& proj);
  // Closes the progress display if a phase left it open, resets and drops the engines (the
  // project's expression engine among them) and drops the caches.
  ~GenerationRun();
  GenerationRun(const GenerationRun&) = delete;
  GenerationRun& operator=(const GenerationRun&) = delete;

  AGP& proj() const noexcept { return proj_; }

  // Resets and releases both script engines.
  void releaseEngines();
  // Makes engine the project's expression engine for the rest of the run.
  void setExParseEngine(Ref<AGScript> engine);

  // The answer for the target being decided; False until a decision or the prompt sets it.
  bool overwriteAnswer = false;
  // The apply-to-all answer: "" (none), "O" overwrite all, "S" skip all, "C" cancel.
  std::u16string overwriteAllAnswer;
  // What the prompt asks about: one of the two is set, the other empty.
  std::u16string overwritePromptFile;
  std::u16string overwritePromptFolder;

  // The message of the last step that failed while the run went on; the entry point puts it
  // into ProjErr when the call ends. Steps that find it set behave as after their own failure.
  std::optional<std::u16string> failure;

  // Set when the run ended through the user's cancel or through a fatal error.
  bool generationCancelled = false;
  bool generationFailed = false;

  // Set by the main loop and read by conditions, names and pages.
  Ref<AGPTable> currentTable;
  Ref<AGPField> currentField;
  // TblVar of the current table: the table part of the names of its field outputs.
  std::u16string currentTableVar;
  Ref<AGPControl> currentControl;
  std::u16string currentOutputName;

  // Sessions compiled so far and the total of the compile progress bar.
  std::int32_t compileProgressCount = 0;
  std::int32_t compileProgressTotal = 0;

  // The caption of the running phase.
  std::u16string statusText;

  Ref<AGScript> scriptEngine;
  Ref<AGScript> exParseEngine;
  // The control list of the template set, which scripts see as "Controls".
  Ref<AGPControls> templateControls;
  // The file stamps of the template set, read when the run prepares the template.
  Ref<AGPCache> templateCache;
  // The sections of the template files the compile phase loads: the thread's shared cache,
  // which a template parser made by a script reads too.
  Ref<AGPFileCache> fileCache;
  TemplateCompileState compileState;
  // The control list an extension's control file is loaded into before its merge.
  Ref<AGPControls> extensionControls;

  // The compiled templates' texts by path, with the stamp of the file each was read from.
  struct CompiledText {
    std::optional<fs::FileStamp> stamp;
    std::u16string text;
  };
  std::unordered_map<std::u16string, CompiledText> compiledTexts;

  // Where the run notes each file it writes (the check pass: would write) for its host; nothing
  // is noted without one. The check pass then walks every table, also past the first whose
  // pages exist, where its count stops.
  std::vector<SiteOutput>* siteOutputs = nullptr;
  // Notes path as an output of the current table (of the project when there is none).
  void noteOutput(const std::u16string& path, const std::u16string& itemId, bool fieldPage = false);
  // Notes a project-level output.
  void noteProjectOutput(const std::u16string& path, const std::u16string& itemId);

  // The warnings given so far (WarnOnce): a condition met for every table is named once.
  std::set<std::u16string> warnings;

  // Held for the whole run: the template set's working folders (unpacked files and compiled
  // templates) and the destination folder, so that concurrent runs neither fill one cache at
  // once nor mix their pages in one site.
  std::optional<fs::FolderLock> templateLock;
  std::optional<fs::FolderLock> destinationLock;

  // While the generation pass writes the site, its pages and other outputs wait beside their
  // targets to be made durable together and put in place (commitOutputs) rather than each
  // waiting on the disk; a step run on its own writes each file in place at once. Declared
  // after the locks, so that it commits before they go.
  fs::DeferredWrites outputs;
  bool deferOutputs = false;
  // Where an output goes: the deferred writes while the generation pass runs, else nowhere.
  fs::DeferredWrites* outputWrites() { return deferOutputs ? &outputs : nullptr; }
  // Puts the waiting outputs in place and stops deferring; each that could not be is reported
  // as unwritten and becomes the run's failure when it has none.
  void commitOutputs();

 private:
  AGP& proj_;
  // The run reads the user's settings for every page (the output encoding among them): one
  // snapshot of the store serves them until the run writes to it, instead of a look at the
  // store file for each read.
  RegistryDefaultsScope userSettings_;
};

}  // namespace vantorel
