#pragma once
// ADODB.Connection, Recordset, Fields, Field, Command, Parameters and Parameter for the test web
// server, over the engine's ODBC data layer. A recordset reads its whole result when it opens
// (a static, read-only cursor); values reach SQL only as bound parameters typed by the
// Parameter's ADO type, which is what the generated pages are meant to rely on.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/enumerator.hpp"
#include "platform/automation/object.hpp"
#include "platform/data/connection.hpp"

namespace vantorel::test::ado {

// ADO's data type codes the pages use.
enum AdoType : std::int32_t {
  adEmpty = 0,
  adSmallInt = 2,
  adInteger = 3,
  adSingle = 4,
  adDouble = 5,
  adCurrency = 6,
  adDate = 7,
  adBSTR = 8,
  adBoolean = 11,
  adVariant = 12,
  adDecimal = 14,
  adTinyInt = 16,
  adUnsignedTinyInt = 17,
  adBigInt = 20,
  adBinary = 128,
  adChar = 129,
  adWChar = 130,
  adNumeric = 131,
  adDBDate = 133,
  adDBTime = 134,
  adDBTimeStamp = 135,
  adVarChar = 200,
  adLongVarChar = 201,
  adVarWChar = 202,
  adLongVarWChar = 203,
  adVarBinary = 204,
  adLongVarBinary = 205,
};

// ADO's "Application uses a value of the wrong type for the current operation."
inline constexpr std::int32_t kWrongType = static_cast<std::int32_t>(0x800A0D5Du);
// "Operation is not allowed when the object is closed."
inline constexpr std::int32_t kObjectClosed = static_cast<std::int32_t>(0x800A0E78u);
// "Either BOF or EOF is True, or the current record has been deleted."
inline constexpr std::int32_t kNoCurrentRecord = static_cast<std::int32_t>(0x800A0BCDu);
// "Item cannot be found in the collection corresponding to the requested name or ordinal."
inline constexpr std::int32_t kItemNotFound = static_cast<std::int32_t>(0x800A0CC1u);

class Connection;
class Recordset;

class Parameter final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;
  std::u16string name;
  std::int32_t type = adEmpty;
  std::int32_t direction = 1;  // adParamInput
  std::int32_t size = 0;
  Variant value;

  std::u16string getName() const { return name; }
  void setName(const std::u16string& v) { name = v; }
  std::int32_t getType() const { return type; }
  void setType(std::int32_t v) { type = v; }
  std::int32_t getDirection() const { return direction; }
  void setDirection(std::int32_t v) { direction = v; }
  std::int32_t getSize() const { return size; }
  void setSize(std::int32_t v) { size = v; }
  Variant getValue() const { return value; }
  void setValue(const Variant& v) { value = v; }
};

class Parameters final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;
  void append(const Ref<Parameter>& p);
  Variant item(const Variant& key) const;
  std::int32_t count() const { return static_cast<std::int32_t>(items.size()); }
  void refresh() {}
  void remove(const Variant& key);
  Ref<Enumerator> newEnum() override;
  std::vector<Ref<Parameter>> items;
};

class Connection final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;

  void open(std::optional<std::u16string> connectionString, std::optional<Variant> user,
            std::optional<Variant> password, std::optional<Variant> options);
  void close();
  // Execute(CommandText, [RecordsAffected], [Options]): the count is written back by reference.
  static Variant executeThunk(Object& self, CallArgs args);
  std::int32_t state() const { return db_ ? 1 : 0; }
  std::u16string connectionString() const { return connectionString_; }
  void setConnectionString(const std::u16string& v) { connectionString_ = v; }
  std::int32_t beginTrans();
  void commitTrans();
  void rollbackTrans();
  std::int32_t commandTimeout() const { return 30; }
  void setCommandTimeout(std::int32_t) {}

  // Runs the text with the values bound to its markers in order; a result with columns becomes
  // a recordset, otherwise rowsAffected tells how many rows changed.
  Ref<Recordset> run(std::u16string_view sql, const std::vector<Ref<Parameter>>& parameters,
                     std::int32_t& rowsAffected);
  data::Connection& db();

  // How many statements the connection ran, and their texts: the tests read them.
  std::vector<std::u16string> statements;
  // How many times it was opened: a page should open its connection once.
  int opens = 0;

 private:
  std::unique_ptr<data::Connection> db_;
  std::u16string connectionString_;
  bool inTransaction_ = false;
};

class Field final : public Object {
 public:
  Field(Ref<Recordset> owner, std::size_t index) : owner_(std::move(owner)), index_(index) {}
  const ClassInfo& classInfo() const noexcept override;
  std::u16string name() const;
  Variant value() const;
  std::int32_t type() const;
  std::int32_t definedSize() const;
  std::int32_t actualSize() const;
  std::int32_t attributes() const { return 0; }

 private:
  Ref<Recordset> owner_;
  std::size_t index_;
};

class Fields final : public Object {
 public:
  explicit Fields(Ref<Recordset> owner) : owner_(std::move(owner)) {}
  const ClassInfo& classInfo() const noexcept override;
  Variant item(const Variant& key) const;
  std::int32_t count() const;
  Ref<Enumerator> newEnum() override;

 private:
  Ref<Recordset> owner_;
};

class Command final : public Object {
 public:
  Command();
  const ClassInfo& classInfo() const noexcept override;
  Variant activeConnection() const { return Variant(connection_); }
  void setActiveConnection(const Variant& v);
  std::u16string commandText() const { return text_; }
  void setCommandText(const std::u16string& v) { text_ = v; }
  std::int32_t commandType() const { return type_; }
  void setCommandType(std::int32_t v) { type_ = v; }
  bool prepared() const { return prepared_; }
  void setPrepared(bool v) { prepared_ = v; }
  std::int32_t commandTimeout() const { return 30; }
  void setCommandTimeout(std::int32_t) {}
  Variant parameters() const { return Variant(parameters_); }
  Ref<Parameter> createParameter(std::optional<std::u16string> name, std::optional<std::int32_t> type,
                                 std::optional<std::int32_t> direction, std::optional<std::int32_t> size,
                                 std::optional<Variant> value);
  // Execute([RecordsAffected], [Parameters], [Options]): an array of values replaces the
  // parameters' values for this run.
  static Variant executeThunk(Object& self, CallArgs args);

  Ref<Recordset> run(std::int32_t& rowsAffected);

 private:
  Ref<Connection> connection_;
  std::u16string text_;
  std::int32_t type_ = 1;  // adCmdText
  bool prepared_ = false;
  Ref<Parameters> parameters_;
};

class Recordset final : public Object {
 public:
  struct Column {
    std::u16string name;
    std::int32_t type = adVarWChar;
    std::int32_t size = 0;
  };

  const ClassInfo& classInfo() const noexcept override;

  void open(std::optional<Variant> source, std::optional<Variant> connection,
            std::optional<std::int32_t> cursorType, std::optional<std::int32_t> lockType,
            std::optional<std::int32_t> options);
  void close();
  std::int32_t state() const { return open_ ? 1 : 0; }
  bool eof() const;
  bool bof() const;
  void moveNext();
  void movePrevious();
  void moveFirst();
  void moveLast();
  void move(std::int32_t n);
  std::int32_t recordCount() const;
  std::int32_t absolutePosition() const;
  Variant fields();
  Variant item(const Variant& key);
  Variant getRows();
  std::int32_t cursorLocation() const { return cursorLocation_; }
  void setCursorLocation(std::int32_t v) { cursorLocation_ = v; }
  std::int32_t cursorType() const { return 3; }
  void setCursorType(std::int32_t) {}
  std::int32_t lockType() const { return 1; }
  void setLockType(std::int32_t) {}
  // Updates go through Command in the pages; a recordset here is read-only.
  void addNew();
  void update();

  // Filled by Connection::run.
  std::vector<Column> columns;
  std::vector<std::vector<Variant>> rows;
  bool open_ = false;
  std::size_t position = 0;  // rows.size() is EOF; BOF is a flag

  std::size_t columnIndex(const Variant& key) const;
  const Variant& current(std::size_t column) const;

 private:
  void requireOpen() const;
  bool bof_ = false;
  std::int32_t cursorLocation_ = 2;
};

// The ADODB classes by ProgID, or nothing for another ProgID.
Ref<Object> createAdoObject(std::u16string_view progId);

}  // namespace vantorel::test::ado
