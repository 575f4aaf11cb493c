#pragma once
// AGPLanguage: the language files loaded for a generation, the phrase list template scripts
// read as "LANGUAGE", and the project's own phrases per language for the project, menu items,
// tables, charts and fields. Phrase-table keys compare exactly (with case); phrase-list
// identifiers compare without regard to case.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/automation/class_factory.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"
#include "project/phrase_tables.hpp"

namespace vantorel {

class AGPLanguage : public Object {
 public:
  struct FileEntry {
    std::u16string Id;
    std::u16string Desc;
    std::u16string FileName;
    bool operator==(const FileEntry&) const = default;
  };

  AGPLanguage();
  const ClassInfo& classInfo() const noexcept override;

  // Language files: the first entry whose file name equals FileName exactly; "" when none.
  std::u16string GetFileId(const std::u16string& FileName) const;
  std::u16string GetFileDesc(const std::u16string& FileName) const;
  // Empties the file list; always Empty.
  Variant ResetFiles();

  // The phrase list and all five tables; the file list is not part of a checkpoint.
  void SaveCheckPoint();
  // Restoring keeps the checkpoint, so it can be restored again; before any save it is empty.
  void RestoreCheckPoint();

  std::int32_t ProjectCount() const noexcept { return state_.project.count(); }
  // Item members: a copy of record Index (1-based), all fields empty outside 1 to count.
  AGProjectPhrase ProjectItem(std::int32_t Index) const { return state_.project.item(Index); }
  std::u16string GetProjectPhrase(const std::u16string& LanguageId,
                                  const std::u16string& ProjectAttribute) const;
  void SetProjectPhrase(const std::u16string& LanguageId, const std::u16string& ProjectAttribute,
                        const std::u16string& Phrase);
  // Has and Reset: any record with the attribute, in any language and for any object.
  bool HasProjectPhrase(const std::u16string& ProjectAttribute) const;
  void ResetProjectPhrase(const std::u16string& ProjectAttribute);

  std::int32_t MenuCount() const noexcept { return state_.menu.count(); }
  AGMenuPhrase MenuItem(std::int32_t Index) const { return state_.menu.item(Index); }
  std::u16string GetMenuPhrase(const std::u16string& LanguageId, const std::u16string& MenuId,
                               const std::u16string& MenuAttribute) const;
  void SetMenuPhrase(const std::u16string& LanguageId, const std::u16string& MenuId,
                     const std::u16string& MenuAttribute, const std::u16string& Phrase);
  bool HasMenuPhrase(const std::u16string& MenuAttribute) const;
  void ResetMenuPhrase(const std::u16string& MenuAttribute);
  // Delete members: every record of the object, in every language and for every attribute;
  // each touches only its own table.
  void DeleteMenuPhrase(const std::u16string& MenuId);

  std::int32_t TableCount() const noexcept { return state_.table.count(); }
  AGTablePhrase TableItem(std::int32_t Index) const { return state_.table.item(Index); }
  std::u16string GetTablePhrase(const std::u16string& LanguageId, const std::u16string& TableName,
                                const std::u16string& TableAttribute) const;
  void SetTablePhrase(const std::u16string& LanguageId, const std::u16string& TableName,
                      const std::u16string& TableAttribute, const std::u16string& Phrase);
  bool HasTablePhrase(const std::u16string& TableAttribute) const;
  void ResetTablePhrase(const std::u16string& TableAttribute);
  void DeleteTablePhrase(const std::u16string& TableName);

  std::int32_t ChartCount() const noexcept { return state_.chart.count(); }
  AGChartPhrase ChartItem(std::int32_t Index) const { return state_.chart.item(Index); }
  std::u16string GetChartPhrase(const std::u16string& LanguageId, const std::u16string& TableName,
                                const std::u16string& ChartName,
                                const std::u16string& ChartAttribute) const;
  void SetChartPhrase(const std::u16string& LanguageId, const std::u16string& TableName,
                      const std::u16string& ChartName, const std::u16string& ChartAttribute,
                      const std::u16string& Phrase);
  bool HasChartPhrase(const std::u16string& ChartAttribute) const;
  void ResetChartPhrase(const std::u16string& ChartAttribute);
  void DeleteChartPhrase(const std::u16string& TableName, const std::u16string& ChartName);

  std::int32_t FieldCount() const noexcept { return state_.field.count(); }
  AGFieldPhrase FieldItem(std::int32_t Index) const { return state_.field.item(Index); }
  std::u16string GetFieldPhrase(const std::u16string& LanguageId, const std::u16string& TableName,
                                const std::u16string& FieldName,
                                const std::u16string& FieldAttribute) const;
  void SetFieldPhrase(const std::u16string& LanguageId, const std::u16string& TableName,
                      const std::u16string& FieldName, const std::u16string& FieldAttribute,
                      const std::u16string& Phrase);
  bool HasFieldPhrase(const std::u16string& FieldAttribute) const;
  void ResetFieldPhrase(const std::u16string& FieldAttribute);
  void DeleteFieldPhrase(const std::u16string& TableName, const std::u16string& FieldName);

  // Exposed for scripts; nothing sets it.
  std::int32_t curIndex() const noexcept { return 0; }
  // The phrase list: identifiers compared without regard to case, at most 32767 entries.
  std::int32_t Count() const noexcept { return state_.list.count(); }
  std::u16string Phrase(const std::u16string& Id) const { return state_.list.phrase(Id); }
  // False, changing nothing, when the identifier is held; a new one in a full list raises 6.
  bool AddPhrase(const std::u16string& sId, const std::u16string& sPhrase);
  // False, adding nothing, when no entry has the identifier.
  bool ReplacePhrase(const std::u16string& sId, const std::u16string& sPhrase);

  // Lists a language file: its root element's "id" and "desc" and its file name. False, listing
  // nothing, when the file does not load; lastLoadError() then says why.
  bool Load(const std::u16string& file);
  // The same as Load, for the language files of extensions.
  bool LoadExtension(const std::u16string& file);

  // Empties the phrase list, the file list and the five tables (not the checkpoint).
  void InitSettings();

  // For C++ callers: the listed files in the order of loading, the phrase list's entries, and
  // the reason the last Load or LoadExtension failed ("" after a success).
  const std::vector<FileEntry>& files() const noexcept { return files_; }
  const std::vector<PhraseList::Entry>& phraseEntries() const noexcept {
    return state_.list.entries();
  }
  const std::u16string& lastLoadError() const noexcept { return lastLoadError_; }

 private:
  bool LoadLangFile(const std::u16string& file);

  std::vector<FileEntry> files_;
  PhraseState state_;
  PhraseState checkpoint_;
  std::u16string lastLoadError_;
};

// The thread's one instance, created on first use and never released by the engine.
AGPLanguage& SharedLanguage();

// Makes AGPLanguage creatable as "vantorel4.AGPLanguage".
void registerProjectLanguageClasses(ClassFactory& factory);

}  // namespace vantorel
