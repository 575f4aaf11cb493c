// The script members of the master/detail links between tables and of the advanced filter.
#include "platform/automation/bind.hpp"
#include "project/advanced_filter.hpp"
#include "project/master_detail.hpp"
#include "project/master_details.hpp"
#include "surface/install_table.hpp"
#include "surface/surface_tables.hpp"

namespace vantorel::surface {

void installLinkTables() noexcept {
  installTable<AGPMasterDetail>(u"AGPMasterDetail", [](ClassInfo& c) {
    using T = AGPMasterDetail;
    ClassBuilder<T>(c)
        .prop<&T::seq, &T::setSeq>(u"Seq")
        .prop<&T::masterTable, &T::setMasterTable>(u"MasterTable")
        .prop<&T::detailTable, &T::setDetailTable>(u"DetailTable")
        .get<&T::fieldCount>(u"FieldCount")
        .prop<&T::currentField, &T::setCurrentField>(u"CurrentField")
        .prop<&T::currentMasterField, &T::setCurrentMasterField>(u"CurrentMasterField")
        .prop<&T::currentDetailField, &T::setCurrentDetailField>(u"CurrentDetailField")
        .method<&T::scriptAddRelation>(u"AddRelation")
        .method<&T::scriptDeleteRelation>(u"DeleteRelation")
        .method<&T::masterField>(u"MasterField")
        .method<&T::detailField>(u"DetailField");
  });
  installTable<AGPMasterDetails>(u"AGPMasterDetails", [](ClassInfo& c) {
    using T = AGPMasterDetails;
    ClassBuilder<T>(c)
        .get<&T::curMasterTable>(u"curMasterTable")
        .get<&T::curDetailTable>(u"curDetailTable")
        .get<&T::curSeq>(u"curSeq")
        .method<&T::add>(u"Add")
        .method<&T::count>(u"Count")
        .method<&T::remove>(u"Delete")
        .method<&T::masterDetailExist>(u"MasterDetailExist")
        .method<&T::item>(u"Item")
        .method<&T::seq>(u"Seq")
        .method<&T::scriptNewEnum>(u"NewEnum_md")
        .enumerator<&T::newEnum>();
  });
  installTable<AGPFilter>(u"AGPFilter", [](ClassInfo& c) {
    using T = AGPFilter;
    ClassBuilder<T>(c)
        .get<&T::groupCount>(u"GroupCount")
        .method<&T::groupName>(u"GroupName")
        .method<&T::optionCount>(u"OptionCount")
        .method<&T::optionName>(u"OptionName")
        .method<&T::expression>(u"Expression")
        .method<&T::load>(u"Load");
  });
}

}  // namespace vantorel::surface
