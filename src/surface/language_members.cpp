// The script members of the language object: phrase tables, files and checkpoints.
#include <cstddef>
#include <utility>

#include "platform/automation/bind.hpp"
#include "platform/automation/variant_convert.hpp"
#include "project/language.hpp"
#include "surface/install_table.hpp"
#include "surface/surface_tables.hpp"

namespace vantorel::surface {

namespace {

// A phrase record as scripts hold it: a copy whose fields read and write by name, like a
// record variable; changing it leaves the table as it is.
template <class R>
class PhraseRecordObject final : public Object {
 public:
  using Traits = PhraseRecordTraits<R>;
  explicit PhraseRecordObject(R record) : record_(std::move(record)) {}

  const ClassInfo& classInfo() const noexcept override {
    static const ClassInfo& info = describeClass(Traits::kName, [](ClassInfo& c) {
      [&]<std::size_t... I>(std::index_sequence<I...>) {
        ((c.define(Traits::kFields[I].name).get = &getField<I>,
          c.define(Traits::kFields[I].name).let = &letField<I>),
         ...);
      }
      (std::make_index_sequence<Traits::kFields.size()>());
    });
    return info;
  }

 private:
  template <std::size_t I>
  static Variant getField(Object& self, CallArgs args) {
    bind_detail::checkArgumentCount(args.size(), 0, 0);
    return Variant(static_cast<PhraseRecordObject&>(self).record_.*Traits::kFields[I].member);
  }
  template <std::size_t I>
  static Variant letField(Object& self, CallArgs args) {
    bind_detail::checkArgumentCount(args.size(), 1, 1);
    static_cast<PhraseRecordObject&>(self).record_.*Traits::kFields[I].member = toString(args[0]);
    return Variant();
  }

  R record_;
};

// The item members as scripts reach them: the record copy wrapped as an object.
template <auto Item>
Variant itemThunk(Object& self, CallArgs args) {
  bind_detail::checkArgumentCount(args.size(), 1, 1);
  auto record = (static_cast<AGPLanguage&>(self).*Item)(toLong(args[0]));
  using R = decltype(record);
  return Variant(Ref<Object>(makeRef<PhraseRecordObject<R>>(std::move(record))));
}

}  // namespace

void installLanguageTables() noexcept {
  installTable<AGPLanguage>(u"AGPLanguage", [](ClassInfo& c) {
    using L = AGPLanguage;
    ClassBuilder<L>(c)
        .method<&L::GetFileId>(u"GetFileId")
        .method<&L::GetFileDesc>(u"GetFileDesc")
        .method<&L::ResetFiles>(u"ResetFiles")
        .method<&L::SaveCheckPoint>(u"SaveCheckPoint")
        .method<&L::RestoreCheckPoint>(u"RestoreCheckPoint")
        .get<&L::ProjectCount>(u"ProjectCount")
        .rawGet(u"ProjectItem", &itemThunk<&L::ProjectItem>)
        .method<&L::GetProjectPhrase>(u"GetProjectPhrase")
        .method<&L::SetProjectPhrase>(u"SetProjectPhrase")
        .method<&L::HasProjectPhrase>(u"HasProjectPhrase")
        .method<&L::ResetProjectPhrase>(u"ResetProjectPhrase")
        .get<&L::MenuCount>(u"MenuCount")
        .rawGet(u"MenuItem", &itemThunk<&L::MenuItem>)
        .method<&L::GetMenuPhrase>(u"GetMenuPhrase")
        .method<&L::SetMenuPhrase>(u"SetMenuPhrase")
        .method<&L::HasMenuPhrase>(u"HasMenuPhrase")
        .method<&L::ResetMenuPhrase>(u"ResetMenuPhrase")
        .method<&L::DeleteMenuPhrase>(u"DeleteMenuPhrase")
        .get<&L::TableCount>(u"TableCount")
        .rawGet(u"TableItem", &itemThunk<&L::TableItem>)
        .method<&L::GetTablePhrase>(u"GetTablePhrase")
        .method<&L::SetTablePhrase>(u"SetTablePhrase")
        .method<&L::HasTablePhrase>(u"HasTablePhrase")
        .method<&L::ResetTablePhrase>(u"ResetTablePhrase")
        .method<&L::DeleteTablePhrase>(u"DeleteTablePhrase")
        .get<&L::ChartCount>(u"ChartCount")
        .rawGet(u"ChartItem", &itemThunk<&L::ChartItem>)
        .method<&L::GetChartPhrase>(u"GetChartPhrase")
        .method<&L::SetChartPhrase>(u"SetChartPhrase")
        .method<&L::HasChartPhrase>(u"HasChartPhrase")
        .method<&L::ResetChartPhrase>(u"ResetChartPhrase")
        .method<&L::DeleteChartPhrase>(u"DeleteChartPhrase")
        .get<&L::FieldCount>(u"FieldCount")
        .rawGet(u"FieldItem", &itemThunk<&L::FieldItem>)
        .method<&L::GetFieldPhrase>(u"GetFieldPhrase")
        .method<&L::SetFieldPhrase>(u"SetFieldPhrase")
        .method<&L::HasFieldPhrase>(u"HasFieldPhrase")
        .method<&L::ResetFieldPhrase>(u"ResetFieldPhrase")
        .method<&L::DeleteFieldPhrase>(u"DeleteFieldPhrase")
        .get<&L::curIndex>(u"curIndex")
        .get<&L::Count>(u"Count")
        .method<&L::Phrase>(u"Phrase")
        .method<&L::AddPhrase>(u"AddPhrase")
        .method<&L::ReplacePhrase>(u"ReplacePhrase")
        .method<&L::Load>(u"Load")
        .method<&L::LoadExtension>(u"LoadExtension")
        .method<&L::InitSettings>(u"InitSettings");
  });
}

}  // namespace vantorel::surface
