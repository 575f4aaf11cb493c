#pragma once
// One extension setting read or written by names: the extension, the object (table, chart or
// field, as far as the level needs) and the setting. The writers make the table, chart and
// field entries still missing, from the declaration file and under its conditions, and store
// only declared settings; they answer False, never raising, for anything missing (a database
// included). The readers answer Null for anything missing and make no entry.
#include <string>

#include "platform/automation/variant.hpp"

namespace vantorel {

class AGP;

bool SetExtProjAtt(AGP& proj, const std::u16string& ext, const std::u16string& att,
                   const Variant& val);
Variant GetExtProjAtt(AGP& proj, const std::u16string& ext, const std::u16string& att);
bool SetExtDbAtt(AGP& proj, const std::u16string& ext, const std::u16string& att,
                 const Variant& val);
Variant GetExtDbAtt(AGP& proj, const std::u16string& ext, const std::u16string& att);
bool SetExtTblAtt(AGP& proj, const std::u16string& ext, const std::u16string& tbl,
                  const std::u16string& att, const Variant& val);
Variant GetExtTblAtt(AGP& proj, const std::u16string& ext, const std::u16string& tbl,
                     const std::u16string& att);
bool SetExtChartAtt(AGP& proj, const std::u16string& ext, const std::u16string& tbl,
                    const std::u16string& chart, const std::u16string& att, const Variant& val);
Variant GetExtChartAtt(AGP& proj, const std::u16string& ext, const std::u16string& tbl,
                       const std::u16string& chart, const std::u16string& att);
bool SetExtFldAtt(AGP& proj, const std::u16string& ext, const std::u16string& tbl,
                  const std::u16string& fld, const std::u16string& att, const Variant& val);
Variant GetExtFldAtt(AGP& proj, const std::u16string& ext, const std::u16string& tbl,
                     const std::u16string& fld, const std::u16string& att);

}  // namespace vantorel
