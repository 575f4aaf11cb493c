#include "site/host/ado_objects.hpp"

#include <cmath>
#include <cstring>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/data/data_error.hpp"
#include "platform/data/statement.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel::test::ado {

namespace {

[[noreturn]] void raiseAdo(std::int32_t number, std::u16string description) {
  throw AutomationError(number, u"ADODB", std::move(description));
}

[[noreturn]] void wrongType() {
  raiseAdo(kWrongType, u"Application uses a value of the wrong type for the current operation.");
}

bool isInteger(std::int32_t t) {
  return t == adSmallInt || t == adInteger || t == adTinyInt || t == adUnsignedTinyInt ||
         t == adBigInt || t == 18 || t == 19 || t == 21;
}
bool isFloat(std::int32_t t) {
  return t == adSingle || t == adDouble || t == adCurrency || t == adDecimal || t == adNumeric;
}
bool isDate(std::int32_t t) {
  return t == adDate || t == adDBDate || t == adDBTime || t == adDBTimeStamp;
}
bool isBinary(std::int32_t t) {
  return t == adBinary || t == adVarBinary || t == adLongVarBinary;
}

// The ADO type a result column reports, from its ODBC type.
std::int32_t adoTypeOf(SQLSMALLINT sqlType) {
  switch (sqlType) {
    case SQL_BIT:
      return adBoolean;
    case SQL_TINYINT:
      return adTinyInt;
    case SQL_SMALLINT:
      return adSmallInt;
    case SQL_INTEGER:
      return adInteger;
    case SQL_BIGINT:
      return adBigInt;
    case SQL_REAL:
      return adSingle;
    case SQL_FLOAT:
    case SQL_DOUBLE:
      return adDouble;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
      return adNumeric;
    case SQL_TYPE_DATE:
      return adDBDate;
    case SQL_TYPE_TIME:
      return adDBTime;
    case SQL_TYPE_TIMESTAMP:
      return adDBTimeStamp;
    case SQL_BINARY:
      return adBinary;
    case SQL_VARBINARY:
      return adVarBinary;
    case SQL_LONGVARBINARY:
      return adLongVarBinary;
    case SQL_LONGVARCHAR:
    case SQL_WLONGVARCHAR:
      return adLongVarWChar;
    default:
      return adVarWChar;
  }
}

// The buffers of one bound parameter; they stay put until the statement has run.
struct Bound {
  std::u16string text;
  std::string bytes;
  std::int64_t integer = 0;
  double real = 0;
  unsigned char bit = 0;
  SQL_TIMESTAMP_STRUCT stamp{};
  SQLLEN indicator = 0;
};

// The ODBC type of a number or date parameter that is sent as its text.
SQLSMALLINT sqlTypeOfText(std::int32_t type) {
  switch (type) {
    case adBigInt:
    case 21:
      return SQL_BIGINT;
    case adDecimal:
    case adNumeric:
    case adCurrency:
      return SQL_NUMERIC;
    case adSingle:
    case adDouble:
      return SQL_DOUBLE;
    case adDate:
    case adDBTimeStamp:
      return SQL_TYPE_TIMESTAMP;
    case adDBDate:
      return SQL_TYPE_DATE;
    case adDBTime:
      return SQL_TYPE_TIME;
    default:
      return SQL_INTEGER;
  }
}

// The digits after the point (of a number, or of a time's seconds) in a parameter's text.
SQLSMALLINT digitsAfterPoint(const std::u16string& text) {
  const std::size_t point = text.rfind(u'.');
  if (point == std::u16string::npos) return 0;
  SQLSMALLINT n = 0;
  for (std::size_t i = point + 1; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) ++n;
  return n;
}

void bindOne(data::Statement& statement, SQLUSMALLINT number, const Parameter& p, Bound& b) {
  const Variant& v = p.value;
  const bool isNull = v.isNull() || v.isEmpty();
  std::int32_t type = p.type;
  if (type == adEmpty || type == adVariant) {
    type = v.isNumericType() ? adDouble : adVarWChar;
  }
  SQLSMALLINT cType = SQL_C_WCHAR;
  SQLSMALLINT sqlType = SQL_WVARCHAR;
  SQLULEN columnSize = 0;
  SQLSMALLINT decimalDigits = 0;
  SQLPOINTER pointer = nullptr;
  SQLLEN bufferLength = 0;
  b.indicator = isNull ? SQL_NULL_DATA : 0;
  if (!isNull && v.isString() && (isInteger(type) || isFloat(type) || isDate(type))) {
    // A number or date given as text goes to the driver as that text, declared of its type:
    // the server reads it exactly, where a Double keeps 15 digits and a Date no fraction of a
    // second, no year before 100 and no time past 24 hours.
    sqlType = sqlTypeOfText(type);
    b.text = v.stringValue();
    b.indicator = static_cast<SQLLEN>(b.text.size() * sizeof(SQLWCHAR));
    columnSize = std::max<SQLULEN>(b.text.size(), 1);
    decimalDigits = digitsAfterPoint(b.text);
    pointer = b.text.data();
    bufferLength = b.indicator;
  } else if (type == adBoolean) {
    cType = SQL_C_BIT;
    sqlType = SQL_BIT;
    if (!isNull) b.bit = toBool(v) ? 1 : 0;
    pointer = &b.bit;
  } else if (isInteger(type)) {
    cType = SQL_C_SBIGINT;
    sqlType = type == adBigInt ? SQL_BIGINT : SQL_INTEGER;
    if (!isNull) {
      double d = 0;
      try {
        d = toDouble(v);
      } catch (const AutomationError&) {
        wrongType();
      }
      if (d != std::floor(d) || std::fabs(d) > 9.2e18) wrongType();
      b.integer = static_cast<std::int64_t>(d);
      if (type != adBigInt && (b.integer < INT32_MIN || b.integer > INT32_MAX)) wrongType();
    }
    pointer = &b.integer;
  } else if (isFloat(type)) {
    cType = SQL_C_DOUBLE;
    sqlType = SQL_DOUBLE;
    if (!isNull) {
      try {
        b.real = toDouble(v);
      } catch (const AutomationError&) {
        wrongType();
      }
    }
    pointer = &b.real;
  } else if (isDate(type)) {
    cType = SQL_C_TYPE_TIMESTAMP;
    sqlType = SQL_TYPE_TIMESTAMP;
    columnSize = 19;
    if (!isNull) {
      DateParts d{};
      try {
        d = splitDate(toDate(v));
      } catch (const AutomationError&) {
        wrongType();
      }
      b.stamp.year = static_cast<SQLSMALLINT>(d.year);
      b.stamp.month = static_cast<SQLUSMALLINT>(d.month);
      b.stamp.day = static_cast<SQLUSMALLINT>(d.day);
      b.stamp.hour = static_cast<SQLUSMALLINT>(d.hour);
      b.stamp.minute = static_cast<SQLUSMALLINT>(d.minute);
      b.stamp.second = static_cast<SQLUSMALLINT>(d.second);
    }
    pointer = &b.stamp;
  } else if (isBinary(type)) {
    cType = SQL_C_BINARY;
    sqlType = SQL_LONGVARBINARY;
    if (!isNull) {
      if (!v.isArray()) wrongType();
      for (const Variant& e : v.arrayValue().elements()) b.bytes += static_cast<char>(toByte(e));
      b.indicator = static_cast<SQLLEN>(b.bytes.size());
    }
    columnSize = std::max<SQLULEN>(b.bytes.size(), 1);
    pointer = b.bytes.data();
    bufferLength = static_cast<SQLLEN>(b.bytes.size());
  } else if (statement.textCodePage() != 0) {
    // A driver that miscounts wide text (MariaDB's) is given the bytes of its character set.
    cType = SQL_C_CHAR;
    sqlType = type == adLongVarWChar || type == adLongVarChar ? SQL_LONGVARCHAR : SQL_VARCHAR;
    if (!isNull) {
      b.bytes = statement.encodeText(toString(v));
      b.indicator = static_cast<SQLLEN>(b.bytes.size());
    }
    columnSize = std::max<SQLULEN>(b.bytes.size(), 1);
    pointer = b.bytes.data();
    bufferLength = static_cast<SQLLEN>(b.bytes.size());
  } else {
    sqlType = type == adLongVarWChar || type == adLongVarChar ? SQL_WLONGVARCHAR : SQL_WVARCHAR;
    if (!isNull) {
      b.text = toString(v);
      b.indicator = static_cast<SQLLEN>(b.text.size() * sizeof(SQLWCHAR));
    }
    columnSize = std::max<SQLULEN>(b.text.size(), 1);
    pointer = b.text.data();
    bufferLength = static_cast<SQLLEN>(b.text.size() * sizeof(SQLWCHAR));
  }
  statement.check(SQLBindParameter(statement.handle(), number, SQL_PARAM_INPUT, cType, sqlType,
                                   columnSize, decimalDigits, pointer, bufferLength, &b.indicator),
                  u"a parameter cannot be bound");
}

Ref<Connection> connectionOf(const Variant& v) {
  if (!v.isObject() || v.isNothing()) return nullptr;
  auto* c = dynamic_cast<Connection*>(v.objectValue());
  if (!c) wrongType();
  return Ref<Connection>(c);
}

class ListEnumerator final : public Enumerator {
 public:
  explicit ListEnumerator(std::vector<Variant> items) : items_(std::move(items)) {}
  bool next(Variant& out) override {
    if (pos_ >= items_.size()) return false;
    out = items_[pos_++];
    return true;
  }
  void reset() override { pos_ = 0; }
  Ref<Enumerator> clone() override { return makeRef<ListEnumerator>(items_); }

 private:
  std::vector<Variant> items_;
  std::size_t pos_ = 0;
};

}  // namespace

// ---- Parameter, Parameters ----

const ClassInfo& Parameter::classInfo() const noexcept {
  static const ClassInfo info(u"Parameter", [](ClassInfo& c) {
    ClassBuilder<Parameter>(c)
        .prop<&Parameter::getValue, &Parameter::setValue>(u"Value")
        .prop<&Parameter::getName, &Parameter::setName>(u"Name")
        .prop<&Parameter::getType, &Parameter::setType>(u"Type")
        .prop<&Parameter::getDirection, &Parameter::setDirection>(u"Direction")
        .prop<&Parameter::getSize, &Parameter::setSize>(u"Size")
        .defaultMember(u"Value");
  });
  return info;
}

void Parameters::append(const Ref<Parameter>& p) {
  if (!p) wrongType();
  items.push_back(p);
}

Variant Parameters::item(const Variant& key) const {
  if (key.isNumericType()) {
    const std::int32_t i = toLong(key);
    if (i < 0 || i >= count()) raiseAdo(kItemNotFound, u"Item cannot be found in the collection.");
    return Variant(items[static_cast<std::size_t>(i)]);
  }
  const std::u16string name = toString(key);
  for (const Ref<Parameter>& p : items) {
    if (NoCaseEqual{}(p->name, name)) return Variant(p);
  }
  raiseAdo(kItemNotFound, u"Item cannot be found in the collection.");
}

void Parameters::remove(const Variant& key) {
  const Variant found = item(key);
  std::erase_if(items, [&](const Ref<Parameter>& p) { return p.get() == found.objectValue(); });
}

Ref<Enumerator> Parameters::newEnum() {
  std::vector<Variant> list;
  for (const Ref<Parameter>& p : items) list.emplace_back(p);
  return makeRef<ListEnumerator>(std::move(list));
}

const ClassInfo& Parameters::classInfo() const noexcept {
  static const ClassInfo info(u"Parameters", [](ClassInfo& c) {
    ClassBuilder<Parameters>(c)
        .get<&Parameters::item>(u"Item")
        .get<&Parameters::count>(u"Count")
        .method<&Parameters::append>(u"Append")
        .method<&Parameters::remove>(u"Delete")
        .method<&Parameters::refresh>(u"Refresh")
        .defaultMember(u"Item")
        .enumerator<&Parameters::newEnum>();
  });
  return info;
}

// ---- Connection ----

void Connection::open(std::optional<std::u16string> connectionString, std::optional<Variant>,
                      std::optional<Variant>, std::optional<Variant>) {
  if (db_) raiseAdo(static_cast<std::int32_t>(0x800A0E79u),
                    u"Operation is not allowed when the object is open.");
  if (connectionString) connectionString_ = *connectionString;
  db_ = std::make_unique<data::Connection>(connectionString_);
  ++opens;
}

void Connection::close() {
  if (!db_) raiseAdo(kObjectClosed, u"Operation is not allowed when the object is closed.");
  if (inTransaction_) rollbackTrans();
  db_.reset();
}

data::Connection& Connection::db() {
  if (!db_) raiseAdo(kObjectClosed, u"Operation is not allowed when the object is closed.");
  return *db_;
}

Ref<Recordset> Connection::run(std::u16string_view sql, const std::vector<Ref<Parameter>>& parameters,
                               std::int32_t& rowsAffected) {
  data::Statement statement(db());
  statements.emplace_back(sql);
  statement.prepare(sql);
  std::vector<Bound> buffers(parameters.size());
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    bindOne(statement, static_cast<SQLUSMALLINT>(i + 1), *parameters[i], buffers[i]);
  }
  statement.execute();
  auto rs = makeRef<Recordset>();
  rs->open_ = true;
  rowsAffected = -1;
  if (statement.columnCount() == 0) {
    SQLLEN count = -1;
    if (SQL_SUCCEEDED(SQLRowCount(statement.handle(), &count))) {
      rowsAffected = static_cast<std::int32_t>(count);
    }
    rs->open_ = false;
    return rs;
  }
  for (const data::ColumnInfo& c : statement.columns()) {
    rs->columns.push_back({c.name, adoTypeOf(c.sqlType), static_cast<std::int32_t>(c.columnSize)});
  }
  const auto n = static_cast<SQLUSMALLINT>(rs->columns.size());
  while (statement.fetch()) {
    std::vector<Variant> row;
    row.reserve(n);
    for (SQLUSMALLINT i = 1; i <= n; ++i) row.push_back(statement.value(i));
    rs->rows.push_back(std::move(row));
  }
  return rs;
}

Variant Connection::executeThunk(Object& self, CallArgs args) {
  if (!args.has(0)) raiseVbError(vberr::kArgumentNotOptional);
  auto& connection = static_cast<Connection&>(self);
  std::int32_t affected = -1;
  Ref<Recordset> rs = connection.run(toString(args[0]), {}, affected);
  if (args.has(1)) args[1] = Variant(affected);
  return Variant(rs);
}

std::int32_t Connection::beginTrans() {
  db().setAutoCommit(false);
  inTransaction_ = true;
  return 1;
}

void Connection::commitTrans() {
  data::check(SQLEndTran(SQL_HANDLE_DBC, db().handle(), SQL_COMMIT), SQL_HANDLE_DBC, db().handle(),
              u"the transaction cannot be committed");
  db().setAutoCommit(true);
  inTransaction_ = false;
}

void Connection::rollbackTrans() {
  db().rollback();
  db().setAutoCommit(true);
  inTransaction_ = false;
}

const ClassInfo& Connection::classInfo() const noexcept {
  static const ClassInfo info(u"Connection", [](ClassInfo& c) {
    ClassBuilder<Connection>(c)
        .method<&Connection::open>(u"Open")
        .method<&Connection::close>(u"Close")
        .rawMethod(u"Execute", &Connection::executeThunk)
        .get<&Connection::state>(u"State")
        .prop<&Connection::connectionString, &Connection::setConnectionString>(u"ConnectionString")
        .prop<&Connection::commandTimeout, &Connection::setCommandTimeout>(u"CommandTimeout")
        .method<&Connection::beginTrans>(u"BeginTrans")
        .method<&Connection::commitTrans>(u"CommitTrans")
        .method<&Connection::rollbackTrans>(u"RollbackTrans");
  });
  return info;
}

// ---- Command ----

Command::Command() : parameters_(makeRef<Parameters>()) {}

void Command::setActiveConnection(const Variant& v) {
  connection_ = connectionOf(v);
}

Ref<Parameter> Command::createParameter(std::optional<std::u16string> name,
                                        std::optional<std::int32_t> type,
                                        std::optional<std::int32_t> direction,
                                        std::optional<std::int32_t> size,
                                        std::optional<Variant> value) {
  auto p = makeRef<Parameter>();
  p->name = name.value_or(u"");
  p->type = type.value_or(adEmpty);
  p->direction = direction.value_or(1);
  p->size = size.value_or(0);
  if (value) p->value = *value;
  return p;
}

Ref<Recordset> Command::run(std::int32_t& rowsAffected) {
  if (!connection_) {
    raiseAdo(static_cast<std::int32_t>(0x800A0E7Du),
             u"The connection cannot be used to perform this operation.");
  }
  return connection_->run(text_, parameters_->items, rowsAffected);
}

Variant Command::executeThunk(Object& self, CallArgs args) {
  auto& command = static_cast<Command&>(self);
  if (args.has(1)) {
    const Variant& values = args[1];
    if (!values.isArray()) wrongType();
    std::size_t i = 0;
    for (const Variant& v : values.arrayValue().elements()) {
      if (i >= command.parameters_->items.size()) break;
      command.parameters_->items[i++]->value = v;
    }
  }
  std::int32_t affected = -1;
  Ref<Recordset> rs = command.run(affected);
  if (args.has(0)) args[0] = Variant(affected);
  return Variant(rs);
}

const ClassInfo& Command::classInfo() const noexcept {
  static const ClassInfo info(u"Command", [](ClassInfo& c) {
    ClassBuilder<Command>(c)
        .prop<&Command::activeConnection, &Command::setActiveConnection>(u"ActiveConnection")
        .prop<&Command::commandText, &Command::setCommandText>(u"CommandText")
        .prop<&Command::commandType, &Command::setCommandType>(u"CommandType")
        .prop<&Command::prepared, &Command::setPrepared>(u"Prepared")
        .prop<&Command::commandTimeout, &Command::setCommandTimeout>(u"CommandTimeout")
        .get<&Command::parameters>(u"Parameters")
        .method<&Command::createParameter>(u"CreateParameter")
        .rawMethod(u"Execute", &Command::executeThunk);
  });
  return info;
}

// ---- Recordset, Fields, Field ----

void Recordset::requireOpen() const {
  if (!open_) raiseAdo(kObjectClosed, u"Operation is not allowed when the object is closed.");
}

void Recordset::open(std::optional<Variant> source, std::optional<Variant> connection,
                     std::optional<std::int32_t>, std::optional<std::int32_t>,
                     std::optional<std::int32_t>) {
  if (!source) raiseVbError(vberr::kArgumentNotOptional);
  std::int32_t affected = -1;
  Ref<Recordset> result;
  if (source->isObject()) {
    auto* command = dynamic_cast<Command*>(source->objectValue());
    if (!command) wrongType();
    result = command->run(affected);
  } else {
    Ref<Connection> c = connection ? connectionOf(*connection) : nullptr;
    if (!c) {
      raiseAdo(static_cast<std::int32_t>(0x800A0E7Du),
               u"The connection cannot be used to perform this operation.");
    }
    result = c->run(toString(*source), {}, affected);
  }
  columns = std::move(result->columns);
  rows = std::move(result->rows);
  open_ = result->open_;
  position = 0;
  bof_ = rows.empty();
}

void Recordset::close() {
  requireOpen();
  open_ = false;
  rows.clear();
  columns.clear();
}

bool Recordset::eof() const {
  requireOpen();
  return position >= rows.size();
}

bool Recordset::bof() const {
  requireOpen();
  return bof_ || rows.empty();
}

void Recordset::moveNext() {
  requireOpen();
  if (position >= rows.size()) {
    raiseAdo(kNoCurrentRecord, u"Either BOF or EOF is True, or the current record has been deleted.");
  }
  ++position;
  bof_ = false;
}

void Recordset::movePrevious() {
  requireOpen();
  if (bof_) raiseAdo(kNoCurrentRecord, u"Either BOF or EOF is True.");
  if (position == 0) {
    bof_ = true;
  } else {
    --position;
  }
}

void Recordset::moveFirst() {
  requireOpen();
  position = 0;
  bof_ = rows.empty();
}

void Recordset::moveLast() {
  requireOpen();
  position = rows.empty() ? 0 : rows.size() - 1;
}

void Recordset::move(std::int32_t n) {
  requireOpen();
  const auto target = static_cast<std::int64_t>(position) + n;
  if (target < 0) {
    position = 0;
    bof_ = true;
  } else {
    position = std::min<std::size_t>(static_cast<std::size_t>(target), rows.size());
  }
}

std::int32_t Recordset::recordCount() const {
  requireOpen();
  return static_cast<std::int32_t>(rows.size());
}

std::int32_t Recordset::absolutePosition() const {
  requireOpen();
  return position < rows.size() ? static_cast<std::int32_t>(position + 1) : -3;
}

std::size_t Recordset::columnIndex(const Variant& key) const {
  requireOpen();
  if (key.isNumericType()) {
    const std::int32_t i = toLong(key);
    if (i >= 0 && static_cast<std::size_t>(i) < columns.size()) return static_cast<std::size_t>(i);
  } else {
    const std::u16string name = toString(key);
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (NoCaseEqual{}(columns[i].name, name)) return i;
    }
  }
  raiseAdo(kItemNotFound,
           u"Item cannot be found in the collection corresponding to the requested name or ordinal.");
}

const Variant& Recordset::current(std::size_t column) const {
  requireOpen();
  if (bof_ || position >= rows.size()) {
    raiseAdo(kNoCurrentRecord, u"Either BOF or EOF is True, or the current record has been deleted.");
  }
  return rows[position][column];
}

Variant Recordset::fields() {
  requireOpen();
  return Variant(makeRef<Fields>(Ref<Recordset>(this)));
}

Variant Recordset::item(const Variant& key) {
  return Variant(makeRef<Field>(Ref<Recordset>(this), columnIndex(key)));
}

Variant Recordset::getRows() {
  requireOpen();
  const auto nc = static_cast<std::int32_t>(columns.size());
  const auto nr = static_cast<std::int32_t>(rows.size() - std::min(position, rows.size()));
  auto array = makeRef<SafeArray>(std::vector<ArrayBound>{{0, nc}, {0, nr}});
  for (std::int32_t r = 0; r < nr; ++r) {
    for (std::int32_t c = 0; c < nc; ++c) {
      const std::int32_t at[2] = {c, r};
      array->at(at) = rows[position + static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
    }
  }
  position = rows.size();
  return Variant(array);
}

void Recordset::addNew() {
  raiseAdo(static_cast<std::int32_t>(0x800A0CB3u),
           u"Current Recordset does not support updating.");
}

void Recordset::update() {
  addNew();
}

const ClassInfo& Recordset::classInfo() const noexcept {
  static const ClassInfo info(u"Recordset", [](ClassInfo& c) {
    ClassBuilder<Recordset>(c)
        .get<&Recordset::item>(u"Collect")
        .get<&Recordset::fields>(u"Fields")
        .method<&Recordset::open>(u"Open")
        .method<&Recordset::close>(u"Close")
        .get<&Recordset::state>(u"State")
        .get<&Recordset::eof>(u"EOF")
        .get<&Recordset::bof>(u"BOF")
        .method<&Recordset::moveNext>(u"MoveNext")
        .method<&Recordset::movePrevious>(u"MovePrevious")
        .method<&Recordset::moveFirst>(u"MoveFirst")
        .method<&Recordset::moveLast>(u"MoveLast")
        .method<&Recordset::move>(u"Move")
        .get<&Recordset::recordCount>(u"RecordCount")
        .get<&Recordset::absolutePosition>(u"AbsolutePosition")
        .method<&Recordset::getRows>(u"GetRows")
        .prop<&Recordset::cursorLocation, &Recordset::setCursorLocation>(u"CursorLocation")
        .prop<&Recordset::cursorType, &Recordset::setCursorType>(u"CursorType")
        .prop<&Recordset::lockType, &Recordset::setLockType>(u"LockType")
        .method<&Recordset::addNew>(u"AddNew")
        .method<&Recordset::update>(u"Update")
        .defaultMember(u"Collect");
  });
  return info;
}

std::u16string Field::name() const {
  return owner_->columns[index_].name;
}
Variant Field::value() const {
  return owner_->current(index_);
}
std::int32_t Field::type() const {
  return owner_->columns[index_].type;
}
std::int32_t Field::definedSize() const {
  return owner_->columns[index_].size;
}
std::int32_t Field::actualSize() const {
  const Variant& v = owner_->current(index_);
  if (v.isNull()) return 0;
  if (v.isArray()) return static_cast<std::int32_t>(v.arrayValue().size());
  return static_cast<std::int32_t>(toString(v).size());
}

const ClassInfo& Field::classInfo() const noexcept {
  static const ClassInfo info(u"Field", [](ClassInfo& c) {
    ClassBuilder<Field>(c)
        .get<&Field::value>(u"Value")
        .get<&Field::name>(u"Name")
        .get<&Field::type>(u"Type")
        .get<&Field::definedSize>(u"DefinedSize")
        .get<&Field::actualSize>(u"ActualSize")
        .get<&Field::attributes>(u"Attributes")
        .defaultMember(u"Value");
  });
  return info;
}

Variant Fields::item(const Variant& key) const {
  return Variant(makeRef<Field>(owner_, owner_->columnIndex(key)));
}

std::int32_t Fields::count() const {
  return static_cast<std::int32_t>(owner_->columns.size());
}

Ref<Enumerator> Fields::newEnum() {
  std::vector<Variant> list;
  for (std::size_t i = 0; i < owner_->columns.size(); ++i) {
    list.emplace_back(makeRef<Field>(owner_, i));
  }
  return makeRef<ListEnumerator>(std::move(list));
}

const ClassInfo& Fields::classInfo() const noexcept {
  static const ClassInfo info(u"Fields", [](ClassInfo& c) {
    ClassBuilder<Fields>(c)
        .get<&Fields::item>(u"Item")
        .get<&Fields::count>(u"Count")
        .defaultMember(u"Item")
        .enumerator<&Fields::newEnum>();
  });
  return info;
}

Ref<Object> createAdoObject(std::u16string_view progId) {
  const NoCaseEqual same;
  if (same(progId, u"ADODB.Connection")) return makeRef<Connection>();
  if (same(progId, u"ADODB.Recordset")) return makeRef<Recordset>();
  if (same(progId, u"ADODB.Command")) return makeRef<Command>();
  return nullptr;
}

}  // namespace vantorel::test::ado
