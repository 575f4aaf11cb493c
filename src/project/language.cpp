#include "project/language.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

#include "foundation/foundation_classes.hpp"
#include "foundation/project_context.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "project/language_file.hpp"

namespace vantorel {

namespace {

const std::u16string* findFile(const std::vector<AGPLanguage::FileEntry>& files,
                               const std::u16string& fileName,
                               std::u16string AGPLanguage::FileEntry::*field) {
  for (const auto& entry : files) {
    if (entry.FileName == fileName) return &(entry.*field);
  }
  return nullptr;
}

}  // namespace

AGPLanguage::AGPLanguage() {
  InitSettings();
}

const ClassInfo& AGPLanguage::classInfo() const noexcept {
  return MemberTable<AGPLanguage>::get(u"AGPLanguage");
}

std::u16string AGPLanguage::GetFileId(const std::u16string& FileName) const {
  const std::u16string* id = findFile(files_, FileName, &FileEntry::Id);
  return id ? *id : std::u16string();
}

std::u16string AGPLanguage::GetFileDesc(const std::u16string& FileName) const {
  const std::u16string* desc = findFile(files_, FileName, &FileEntry::Desc);
  return desc ? *desc : std::u16string();
}

Variant AGPLanguage::ResetFiles() {
  files_.clear();
  return Variant();
}

void AGPLanguage::SaveCheckPoint() {
  checkpoint_ = state_;
}

void AGPLanguage::RestoreCheckPoint() {
  state_ = checkpoint_;
}

std::u16string AGPLanguage::GetProjectPhrase(const std::u16string& LanguageId,
                                             const std::u16string& ProjectAttribute) const {
  return state_.project.get({LanguageId, ProjectAttribute, {}});
}

void AGPLanguage::SetProjectPhrase(const std::u16string& LanguageId,
                                   const std::u16string& ProjectAttribute,
                                   const std::u16string& Phrase) {
  state_.project.set({LanguageId, ProjectAttribute, Phrase});
}

bool AGPLanguage::HasProjectPhrase(const std::u16string& ProjectAttribute) const {
  return state_.project.hasAttribute(ProjectAttribute);
}

void AGPLanguage::ResetProjectPhrase(const std::u16string& ProjectAttribute) {
  state_.project.resetAttribute(ProjectAttribute);
}

std::u16string AGPLanguage::GetMenuPhrase(const std::u16string& LanguageId,
                                          const std::u16string& MenuId,
                                          const std::u16string& MenuAttribute) const {
  return state_.menu.get({LanguageId, MenuId, MenuAttribute, {}});
}

void AGPLanguage::SetMenuPhrase(const std::u16string& LanguageId, const std::u16string& MenuId,
                                const std::u16string& MenuAttribute, const std::u16string& Phrase) {
  state_.menu.set({LanguageId, MenuId, MenuAttribute, Phrase});
}

bool AGPLanguage::HasMenuPhrase(const std::u16string& MenuAttribute) const {
  return state_.menu.hasAttribute(MenuAttribute);
}

void AGPLanguage::ResetMenuPhrase(const std::u16string& MenuAttribute) {
  state_.menu.resetAttribute(MenuAttribute);
}

void AGPLanguage::DeleteMenuPhrase(const std::u16string& MenuId) {
  state_.menu.removeIf([&](const AGMenuPhrase& r) { return r.MenuId == MenuId; });
}

std::u16string AGPLanguage::GetTablePhrase(const std::u16string& LanguageId,
                                           const std::u16string& TableName,
                                           const std::u16string& TableAttribute) const {
  return state_.table.get({LanguageId, TableName, TableAttribute, {}});
}

void AGPLanguage::SetTablePhrase(const std::u16string& LanguageId, const std::u16string& TableName,
                                 const std::u16string& TableAttribute,
                                 const std::u16string& Phrase) {
  state_.table.set({LanguageId, TableName, TableAttribute, Phrase});
}

bool AGPLanguage::HasTablePhrase(const std::u16string& TableAttribute) const {
  return state_.table.hasAttribute(TableAttribute);
}

void AGPLanguage::ResetTablePhrase(const std::u16string& TableAttribute) {
  state_.table.resetAttribute(TableAttribute);
}

void AGPLanguage::DeleteTablePhrase(const std::u16string& TableName) {
  state_.table.removeIf([&](const AGTablePhrase& r) { return r.TableName == TableName; });
}

std::u16string AGPLanguage::GetChartPhrase(const std::u16string& LanguageId,
                                           const std::u16string& TableName,
                                           const std::u16string& ChartName,
                                           const std::u16string& ChartAttribute) const {
  return state_.chart.get({LanguageId, TableName, ChartName, ChartAttribute, {}});
}

void AGPLanguage::SetChartPhrase(const std::u16string& LanguageId, const std::u16string& TableName,
                                 const std::u16string& ChartName,
                                 const std::u16string& ChartAttribute,
                                 const std::u16string& Phrase) {
  state_.chart.set({LanguageId, TableName, ChartName, ChartAttribute, Phrase});
}

bool AGPLanguage::HasChartPhrase(const std::u16string& ChartAttribute) const {
  return state_.chart.hasAttribute(ChartAttribute);
}

void AGPLanguage::ResetChartPhrase(const std::u16string& ChartAttribute) {
  state_.chart.resetAttribute(ChartAttribute);
}

void AGPLanguage::DeleteChartPhrase(const std::u16string& TableName,
                                    const std::u16string& ChartName) {
  state_.chart.removeIf(
      [&](const AGChartPhrase& r) { return r.TableName == TableName && r.ChartName == ChartName; });
}

std::u16string AGPLanguage::GetFieldPhrase(const std::u16string& LanguageId,
                                           const std::u16string& TableName,
                                           const std::u16string& FieldName,
                                           const std::u16string& FieldAttribute) const {
  return state_.field.get({LanguageId, TableName, FieldName, FieldAttribute, {}});
}

void AGPLanguage::SetFieldPhrase(const std::u16string& LanguageId, const std::u16string& TableName,
                                 const std::u16string& FieldName,
                                 const std::u16string& FieldAttribute,
                                 const std::u16string& Phrase) {
  state_.field.set({LanguageId, TableName, FieldName, FieldAttribute, Phrase});
}

bool AGPLanguage::HasFieldPhrase(const std::u16string& FieldAttribute) const {
  return state_.field.hasAttribute(FieldAttribute);
}

void AGPLanguage::ResetFieldPhrase(const std::u16string& FieldAttribute) {
  state_.field.resetAttribute(FieldAttribute);
}

void AGPLanguage::DeleteFieldPhrase(const std::u16string& TableName,
                                    const std::u16string& FieldName) {
  state_.field.removeIf(
      [&](const AGFieldPhrase& r) { return r.TableName == TableName && r.FieldName == FieldName; });
}

bool AGPLanguage::AddPhrase(const std::u16string& sId, const std::u16string& sPhrase) {
  return state_.list.add(sId, sPhrase);
}

bool AGPLanguage::ReplacePhrase(const std::u16string& sId, const std::u16string& sPhrase) {
  return state_.list.replace(sId, sPhrase);
}

bool AGPLanguage::Load(const std::u16string& file) {
  return LoadLangFile(file);
}

bool AGPLanguage::LoadExtension(const std::u16string& file) {
  return LoadLangFile(file);
}

bool AGPLanguage::LoadLangFile(const std::u16string& file) {
  std::u16string error;
  std::optional<LanguageFileHeader> header = readLanguageFileHeader(file, error);
  if (!header) {
    lastLoadError_ = std::move(error);
    return false;
  }
  lastLoadError_.clear();
  files_.push_back({std::move(header->id), std::move(header->desc), languageFileName(file)});
  return true;
}

void AGPLanguage::InitSettings() {
  state_.clear();
  files_.clear();
  lastLoadError_.clear();
}

AGPLanguage& SharedLanguage() {
  return sharedObject<AGPLanguage>(projectContext().language);
}

void registerProjectLanguageClasses(ClassFactory& factory) {
  registerEngineClass<AGPLanguage>(factory, u"AGPLanguage");
}

}  // namespace vantorel
