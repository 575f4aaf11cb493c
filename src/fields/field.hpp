#pragma once
// AGPField: one column of a table, view, custom view or report. Everything the engine knows of
// the field is a setting in its bag (121 declared rows, see field_settings.hpp); the class keeps
// no other state, so every way of reading a setting sees every way of writing it at once.
#include <cstdint>
#include <string>

#include "fields/field_definition.hpp"
#include "fields/field_settings.hpp"
#include "foundation/properties.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

class SettingCatalog;

class AGPField final : public Object {
 public:
  // Declares the settings and applies the current user's defaults for new fields.
  AGPField();

  const ClassInfo& classInfo() const noexcept override;

  // The declarations shared by every field, in the order of the project file's attributes.
  static const SettingCatalog& catalog();

  // The settings bag (created on first use).
  AGProperties& properties() {
    if (!properties_) createProperties();
    return *properties_;
  }
  Ref<AGProperties> Properties() { return Ref<AGProperties>(&properties()); }

  // Any setting by name, as text; an undeclared name is declared as a saved String setting.
  Variant GetV(const std::u16string& Name);
  // Any setting by name from text, converted by its declared type; always Empty.
  Variant SetV(const std::u16string& Name, const std::u16string& Value);

  // Key is FldName. Writing it does not re-key the field in its collection (AGPFields.Change).
  std::u16string Key() { return FldName(); }
  void setKey(const std::u16string& value) { setFldName(value); }

  // Typed access for the engine's own code to the settings it reads and writes.
  std::u16string FldName();
  void setFldName(const std::u16string& value);
  // Inline: lookups by number walk the fields reading this, and templates look fields up by
  // number all the time. Add and the renumbering store an Integer.
  std::int16_t FldSeq() {
    const Variant& seq = properties().setting(kFldSeq);
    return seq.type() == VarType::Integer ? seq.integerValue() : convertedSeq(seq);
  }
  void setFldSeq(std::int16_t value);
  std::u16string FldVar();
  void setFldVar(const std::u16string& value);
  // FldVar without its "x_" prefix; empty when FldVar is shorter than three characters.
  std::u16string FldParm();
  std::int16_t FldType();
  bool FldGenerate();
  bool FldIsPrimaryKey();
  void setFldIsPrimaryKey(bool value);
  std::u16string FldOrder();

  // Imports a column definition, then applies LoadFldDefault. A definition the import cannot
  // take raises before anything is written.
  void LoadFld_DAO(const DaoFieldDefinition& definition);
  void LoadFld_ADO(const AdoFieldDefinition& definition);
  // The generation settings that suit the field's type (and its name, size and flags).
  void LoadFldDefault();

  // Automation entry points taking a DAO / ADO field object, read by property name.
  void scriptLoadFldDao(const Ref<Object>& daoField);
  void scriptLoadFldAdo(const Ref<Object>& adoField);

 private:
  void SetFldTypeDAO(std::int16_t daoType);
  void SetFldTypeADO(std::int16_t adoType, std::uint8_t precision);
  void SetFldTagDefault();
  void SetFldValidateDefault();
  void SetFldSrchOprDefault();
  void ResetFldSearch();
  void SetFldBasicSearchDefault();

  void createProperties();
  static std::int16_t convertedSeq(const Variant& seq);
  Ref<AGProperties> properties_;
};

}  // namespace vantorel
