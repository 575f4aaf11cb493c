#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "database/pg_metadata.hpp"
#include "database_loading/loading_schema.hpp"
#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/connection.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::test {
namespace {

class TableSchemaLoader : public DatabaseTest {
 protected:
  // Each table is loaded once per test.
  AGPTable& loaded(Dbms dbms, const char16_t* schema, const char16_t* name,
                   const char16_t* type = u"TABLE") {
    auto key = std::make_tuple(dbms, std::u16string(schema), std::u16string(name));
    auto found = tables_.find(key);
    if (found == tables_.end()) {
      found = tables_.emplace(key, loadTable(databases(), {dbms, schema, name, type})).first;
    }
    return *found->second;
  }

 private:
  std::map<std::tuple<Dbms, std::u16string, std::u16string>, Ref<AGPTable>> tables_;
};

std::u16string text(const Variant& v) {
  return v.isEmpty() ? u"<empty>" : toString(v);
}

TEST_F(TableSchemaLoader, TablesTakeTheirKeyErrorAndLoadTimeDefaults) {
  constexpr Dbms S = Dbms::Sqlite, P = Dbms::Postgres, M = Dbms::MariaDb;
  const std::u16string duplicate =
      u"Vantorel: Duplicate Column Name - name found! ASP scripts may not be generated correctly! "
      u"Please rename duplicated field names to ensure correct generation!";
  struct Case {
    Dbms dbms;
    bool loaded;
    const char16_t* schema;
    const char16_t* name;
    const char16_t* type;
    const char16_t* fields;  // names joined by ","
    const char16_t* key;
    std::u16string error;  // a prefix of TblError
  } cases[] = {
      {S, true, u"", u"Order Details", u"TABLE", u"order_id,product_id,qty,note",
       u"order_id\r\nproduct_id", u""},
      {S, true, u"", u"select", u"TABLE", u"from,code,a,b", u"from", u""},
      {S, true, u"", u"order_view", u"VIEW", u"order_id,qty", u"", u""},
      {P, true, u"public", u"Order Details", u"TABLE", u"order_id,product_id,qty,note",
       u"order_id\r\nproduct_id", u""},
      // "name" differs from "Name" only in case: reported, not dropped unseen.
      {P, true, u"public", u"select", u"TABLE", u"from,Name", u"from", duplicate},
      // Two schemas each hold an "orders"; each load reads its own.
      {P, true, u"public", u"orders", u"TABLE",
       u"id,code,a,b,customer,counted,placed,price,missing,blank,tags,pos,ip,seg,flags,amount",
       u"id", u""},
      {P, true, u"sales", u"orders", u"TABLE", u"id,total", u"id", u""},
      {P, true, u"public", u"order_view", u"VIEW", u"id,customer", u"", u""},
      {M, true, u"", u"Order Details", u"TABLE", u"order_id,product_id,qty,note",
       u"order_id\r\nproduct_id", u""},
      {M, true, u"", u"order_view", u"VIEW", u"from,code", u"", u""},
      {M, false, u"", u"missing", u"TABLE", u"", u"", u"SQLSTATE 42S02"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.name));
    AGPTable& table = loaded(c.dbms, c.schema, c.name, c.type);
    AGProperties& bag = table.properties();
    std::u16string names;
    for (std::int32_t i = 0; i < table.fields().count(); ++i) {
      names += (i ? u"," : u"") + table.fields().at(static_cast<std::size_t>(i)).FldName();
    }
    EXPECT_EQ(toUtf8(names), toUtf8(c.fields));
    EXPECT_EQ(toUtf8(text(bag.setting(kTblKey))), toUtf8(c.key));
    EXPECT_EQ(toUtf8(text(bag.setting(kTblError)).substr(0, c.error.size())), toUtf8(c.error));
    EXPECT_EQ(toBool(bag.setting(kTblLoaded)), c.loaded);
    EXPECT_EQ(text(bag.setting(kTblType)), c.type);
    EXPECT_EQ(text(bag.setting(kTblSchema)), c.schema);
    // The load-time defaults close every load, a failed probe's too.
    EXPECT_FALSE(toBool(bag.setting(kTblGen)));
    EXPECT_EQ(text(bag.setting(kTblRptSrc)), c.name);
    EXPECT_EQ(toBool(bag.setting(kTblAdd)), std::u16string(c.type) == u"TABLE");
  }
}

TEST_F(TableSchemaLoader, FieldsFollowTheRulesOfTheirDatabase) {
  constexpr Dbms S = Dbms::Sqlite, P = Dbms::Postgres, M = Dbms::MariaDb;
  struct Case {
    Dbms dbms;
    const char16_t* schema;
    const char16_t* table;
    const char16_t* field;
    int type;
    int size;
    const char16_t* typeName;
    // Required, auto-increment, primary key, unique index, supported, as "R A P U S" letters,
    // "-" for false.
    const char16_t* flags;
    const char16_t* def;      // FldDefault as text
    const char16_t* htmlTag;  // nullptr: not checked
    const char16_t* tagValues;
  } cases[] = {
      {S, u"", u"Order Details", u"qty", 3, 4, u"INTEGER", u"R---S", u"<empty>", nullptr, nullptr},
      {S, u"", u"select", u"from", 3, 4, u"INTEGER", u"-APUS", u"<empty>", nullptr, nullptr},
      {S, u"", u"select", u"code", 200, 4, u"VARCHAR", u"---US", u"<empty>", nullptr, nullptr},
      // One column of a two-column unique index; a plain index on a: no mark.
      {S, u"", u"select", u"a", 3, 4, u"INTEGER", u"----S", u"<empty>", nullptr, nullptr},
      {S, u"", u"order_view", u"qty", 3, 4, u"INTEGER", u"----S", u"<empty>", nullptr, nullptr},

      {P, u"public", u"Order Details", u"qty", 2, 2, u"int2", u"R---S", u"1", nullptr, nullptr},
      // A "::" inside the literal is no cast.
      {P, u"public", u"Order Details", u"note", 202, 20, u"varchar", u"----S", u"it's::x", nullptr,
       nullptr},
      {P, u"public", u"select", u"from", 3, 4, u"int4", u"RAPUS", u"<empty>", nullptr, nullptr},
      {P, u"public", u"orders", u"code", 130, 4, u"bpchar", u"---US", u"<empty>", nullptr, nullptr},
      {P, u"public", u"orders", u"a", 3, 4, u"int4", u"----S", u"<empty>", nullptr, nullptr},
      {P, u"public", u"orders", u"customer", 202, 40, u"varchar", u"R---S", u"none", nullptr,
       nullptr},
      // A sequence default on a column that is not auto-increment leaves no default.
      {P, u"public", u"orders", u"counted", 3, 4, u"int4", u"----S", u"", nullptr, nullptr},
      {P, u"public", u"orders", u"placed", 133, 6, u"date", u"----S", u"CURRENT_DATE", nullptr,
       nullptr},
      {P, u"public", u"orders", u"price", 131, 19, u"numeric", u"----S", u"0", nullptr, nullptr},
      {P, u"public", u"orders", u"missing", 202, 5, u"varchar", u"----S", u"<empty>", nullptr,
       nullptr},
      {P, u"public", u"orders", u"blank", 203, 8190, u"text", u"----S", u"<empty>", nullptr,
       nullptr},
      // Shown as their text: an array, and an address the server checks when it is typed.
      {P, u"public", u"orders", u"tags", 202, 255, u"array", u"----S", u"<empty>", nullptr,
       nullptr},
      {P, u"public", u"orders", u"pos", 202, 255, u"point", u"-----", u"<empty>", nullptr, nullptr},
      {P, u"public", u"orders", u"ip", 202, 50, u"inet", u"----S", u"<empty>", u"TEXT", nullptr},
      {P, u"public", u"orders", u"seg", 202, 255, u"lseg", u"-----", u"<empty>", nullptr, nullptr},
      {P, u"public", u"orders", u"flags", 200, 3, u"bit", u"-----", u"<empty>", nullptr, nullptr},
      {P, u"public", u"orders", u"amount", 5, 8, u"float8", u"----S", u"<empty>", nullptr, nullptr},
      // The identity column of the other schema's "orders", and its cast default.
      {P, u"sales", u"orders", u"id", 3, 4, u"int4", u"RAPUS", u"<empty>", nullptr, nullptr},
      {P, u"sales", u"orders", u"total", 131, 19, u"numeric", u"----S", u"1.5", nullptr, nullptr},
      // Names with quote characters reach the catalogue and SHOW FIELDS whole.
      {P, u"public", u"it's", u"x", 3, 4, u"int4", u"----S", u"7", nullptr, nullptr},
      {M, u"", u"it`s", u"x", 130, 1, u"enum('a','b')", u"----S", u"<empty>", u"SELECT",
       u"\"a\",\"a\"\r\n\"b\",\"b\"\r\n"},
      {P, u"public", u"order_view", u"id", 3, 4, u"int4", u"----S", u"<empty>", nullptr, nullptr},

      {M, u"", u"Order Details", u"order_id", 3, 4, u"int(11)", u"R-P-S", u"<empty>", nullptr,
       nullptr},
      // The driver calls an AUTO_INCREMENT key nullable.
      {M, u"", u"select", u"from", 19, 4, u"int(10) unsigned", u"-APUS", u"<empty>", nullptr,
       nullptr},
      {M, u"", u"select", u"qty", 19, 4, u"int(10) unsigned", u"R---S", u"<empty>", nullptr,
       nullptr},
      {M, u"", u"select", u"yes_no", 130, 1, u"enum('N','Y')", u"R---S", u"<empty>", u"RADIO",
       u"\"N\",\"N\"\r\n\"Y\",\"Y\"\r\n"},
      {M, u"", u"select", u"bit01", 130, 1, u"enum('1','0')", u"----S", u"<empty>", u"RADIO",
       u"\"1\",\"1\"\r\n\"0\",\"0\"\r\n"},
      {M, u"", u"select", u"kind", 130, 8, u"enum('a,b','c)d','it''s','say \"hi\"')", u"----S",
       u"<empty>", u"SELECT",
       u"\"a,b\",\"a,b\"\r\n\"c)d\",\"c)d\"\r\n\"it's\",\"it's\"\r\n"
       u"\"say &quot;hi&quot;\",\"say &quot;hi&quot;\"\r\n"},
      {M, u"", u"select", u"opts", 130, 3, u"set('x','y')", u"----S", u"<empty>", u"CHECKBOX",
       u"\"x\",\"x\"\r\n\"y\",\"y\"\r\n"},
      {M, u"", u"select", u"code", 130, 4, u"char(4)", u"---US", u"<empty>", u"TEXT", u"<empty>"},
      {M, u"", u"select", u"a", 3, 4, u"int(11)", u"----S", u"<empty>", nullptr, nullptr},
      // SHOW FIELDS marks no key on a view's column.
      {M, u"", u"order_view", u"from", 19, 4, u"int(10) unsigned", u"-A--S", u"<empty>", nullptr,
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(std::u16string(c.table) + u"." + c.field));
    AGPTable& table = loaded(c.dbms, c.schema, c.table,
                             std::u16string(c.table) == u"order_view" ? u"VIEW" : u"TABLE");
    AGPField* field = table.fields().find(c.field);
    ASSERT_NE(field, nullptr);
    AGProperties& bag = field->properties();
    EXPECT_EQ(toInteger(bag.setting(kFldType)), c.type);
    EXPECT_EQ(toLong(bag.setting(kFldSize)), c.size);
    EXPECT_EQ(toUtf8(text(bag.setting(kFldTypeName))), toUtf8(c.typeName));
    const auto flag = [&](SettingSlot slot, char16_t letter) {
      return toBool(bag.setting(slot)) ? letter : u'-';
    };
    const std::u16string flags{flag(kFldReq, u'R'), flag(kFldAutoIncrement, u'A'),
                               flag(kFldIsPrimaryKey, u'P'), flag(kFldUniqueIdx, u'U'),
                               flag(kFldSupport, u'S')};
    EXPECT_EQ(toUtf8(flags), toUtf8(c.flags));
    EXPECT_EQ(toBool(bag.setting(kFldRequired)), toBool(bag.setting(kFldReq)));
    EXPECT_EQ(toBool(bag.setting(kFldGenerate)), toBool(bag.setting(kFldSupport)));
    EXPECT_EQ(toUtf8(text(bag.setting(kFldDefault))), toUtf8(c.def));
    if (c.htmlTag) {
      EXPECT_EQ(toUtf8(text(bag.setting(kFldHtmlTag))), toUtf8(c.htmlTag));
    }
    if (c.tagValues) {
      EXPECT_EQ(toUtf8(text(bag.setting(kFldTagValues))), toUtf8(c.tagValues));
    }
  }
}

TEST_F(TableSchemaLoader, ADynamicLoadOfTheWholeDatabaseOnlyRegisters) {
  struct Case {
    bool loadAll, dynamic;
    int fields;
    const char16_t* loaded;  // TblLoaded as text
    const char16_t* caption;
  } cases[] = {
      {true, true, 0, u"False", u"<empty>"},
      {true, false, 4, u"True", u"Order Details"},
      {false, true, 4, u"True", u"Order Details"},
  };
  for (const Case& c : cases) {
    for (Dbms dbms : {Dbms::Sqlite, Dbms::Postgres, Dbms::MariaDb}) {
      const char16_t* schema = dbms == Dbms::Postgres ? u"public" : u"";
      Ref<AGPTable> table =
          loadTable(databases(), {dbms, schema, u"Order Details", u"TABLE", c.loadAll, c.dynamic});
      AGProperties& bag = table->properties();
      EXPECT_EQ(table->fields().count(), c.fields);
      EXPECT_EQ(text(bag.setting(kTblLoaded)), c.loaded);
      EXPECT_FALSE(toBool(bag.setting(kTblGen)));
      EXPECT_EQ(text(bag.setting(kTblType)), u"TABLE");
      EXPECT_EQ(text(bag.setting(kTblCaption)), c.caption);
    }
  }
}

TEST_F(TableSchemaLoader, TypeNamesOfAQueryAndAFailedLookup) {
  data::Connection connection(connectionStringFor(databases(), Dbms::Postgres));
  projectContext().currentDbmsName = connection.properties().dbmsName;
  projectContext().lastErrorText = u"earlier";
  AGPTable& table = loaded(Dbms::Postgres, u"public", u"orders");
  AGPFields& fields = table.fields();
  // A lookup that fails keeps what the fields have and fails nothing.
  fields.find(u"tags")->properties().setting(kFldTypeName) = Variant(u"kept");
  LoadFieldTypeNames(connection, fields, u"cv", u"public", u"SELECT nothing FROM nowhere");
  EXPECT_EQ(text(fields.find(u"tags")->properties().setting(kFldTypeName)), u"kept");
  EXPECT_EQ(projectContext().lastErrorText, u"earlier");

  LoadFieldTypeNames(connection, fields, u"cv", u"public", u"SELECT tags, code FROM public.orders");
  EXPECT_EQ(text(fields.find(u"code")->properties().setting(kFldTypeName)), u"bpchar");
  EXPECT_EQ(text(fields.find(u"tags")->properties().setting(kFldTypeName)), u"array");
}

}  // namespace
}  // namespace vantorel::test
