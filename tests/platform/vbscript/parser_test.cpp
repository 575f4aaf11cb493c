#include "platform/vbscript/parser.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::vbs {
namespace {

// A compact s-expression form of the tree, so that tests can state the expected shape.
class Printer {
 public:
  std::string expr(const Expr* e) {
    if (!e) return "_";
    switch (e->kind) {
      case ExprKind::Literal:
        return literal(static_cast<const LiteralExpr*>(e)->value);
      case ExprKind::Name:
        return toUtf8(static_cast<const NameExpr*>(e)->name);
      case ExprKind::Member: {
        auto* m = static_cast<const MemberExpr*>(e);
        return "(. " + expr(m->object.get()) + " " + toUtf8(m->name) + ")";
      }
      case ExprKind::Call: {
        auto* c = static_cast<const CallExpr*>(e);
        std::string s = "(call " + expr(c->callee.get());
        for (const auto& a : c->args) s += " " + expr(a.get());
        return s + ")";
      }
      case ExprKind::Paren:
        return "(paren " + expr(static_cast<const ParenExpr*>(e)->inner.get()) + ")";
      case ExprKind::New:
        return "(new " + toUtf8(static_cast<const NewExpr*>(e)->className) + ")";
      case ExprKind::Me:
        return "Me";
      case ExprKind::Unary: {
        auto* u = static_cast<const UnaryExpr*>(e);
        static const char* const kOps[] = {"neg", "plus", "not"};
        return std::string("(") + kOps[static_cast<int>(u->op)] + " " + expr(u->operand.get()) +
               ")";
      }
      case ExprKind::Binary: {
        auto* b = static_cast<const BinaryExpr*>(e);
        static const char* const kOps[] = {
            "^", "*",  "/", "\\", "mod", "+",   "-",  "&",   "=",   "<>",
            "<", "<=", ">", ">=", "is",  "and", "or", "xor", "eqv", "imp"};
        return std::string("(") + kOps[static_cast<int>(b->op)] + " " + expr(b->left.get()) + " " +
               expr(b->right.get()) + ")";
      }
    }
    return "?";
  }

  std::string block(const Block& b) {
    std::string s = "[";
    for (const auto& st : b) s += (s.size() > 1 ? " " : "") + stmt(*st);
    return s + "]";
  }

  std::string program(const Program& p) {
    std::string s;
    auto add = [&s](const std::string& part) { s += (s.empty() ? "" : " ") + part; };
    if (p.optionExplicit) add("(option explicit)");
    for (const auto& st : p.statements) add(stmt(*st));
    for (const auto& proc : p.procedures) add(procedure(proc));
    for (const auto& cls : p.classes) {
      std::string c = "(class " + toUtf8(cls.name);
      for (const auto& f : cls.fields) c += " " + stmt(*f);
      for (const auto& k : cls.consts) c += " " + stmt(*k);
      for (const auto& proc : cls.procedures) c += " " + procedure(proc);
      add(c + ")");
    }
    return s;
  }

 private:
  static std::string literal(const Variant& v) {
    char buf[64];
    switch (v.type()) {
      case VarType::Integer:
        return std::to_string(v.integerValue());
      case VarType::Long:
        return std::to_string(v.longValue()) + "L";
      case VarType::Double:
        std::snprintf(buf, sizeof buf, "%gD", v.doubleValue());
        return buf;
      case VarType::Date:
        std::snprintf(buf, sizeof buf, "#%g#", v.dateValue());
        return buf;
      case VarType::String: {
        std::string s = "\"";
        for (char c : toUtf8(v.stringValue()))
          s += c == '"' ? std::string("\"\"") : std::string(1, c);
        return s + "\"";
      }
      case VarType::Boolean:
        return v.boolValue() ? "True" : "False";
      case VarType::Empty:
        return "Empty";
      case VarType::Null:
        return "Null";
      case VarType::Object:
        return "Nothing";
      default:
        return "?literal";
    }
  }

  static const char* visibility(Visibility v) {
    return v == Visibility::Public ? "public " : v == Visibility::Private ? "private " : "";
  }

  std::string procedure(const ProcDecl& p) {
    static const char* const kKinds[] = {"sub", "function", "get", "let", "set"};
    std::string s = std::string("(") + visibility(p.visibility) + (p.isDefault ? "default " : "") +
                    kKinds[static_cast<int>(p.kind)] + " " + toUtf8(p.name) + " (";
    for (std::size_t i = 0; i < p.params.size(); ++i) {
      const Param& prm = p.params[i];
      s += (i ? " " : "") + std::string(prm.byVal ? "byval " : "") + toUtf8(prm.name) +
           (prm.isArray ? "()" : "");
    }
    return s + ") " + block(p.body) + ")";
  }

  std::string bounds(const std::vector<ExprPtr>& b) {
    std::string s = "(";
    for (std::size_t i = 0; i < b.size(); ++i) s += (i ? "," : "") + expr(b[i].get());
    return s + ")";
  }

  std::string stmt(const Stmt& st) {
    switch (st.kind) {
      case StmtKind::Call: {
        auto& c = static_cast<const CallStmt&>(st);
        return (c.callKeyword ? "(Call " : "(callstmt ") + expr(c.call.get()) + ")";
      }
      case StmtKind::Assign: {
        auto& a = static_cast<const AssignStmt&>(st);
        return (a.isSet ? "(set " : "(let ") + expr(a.target.get()) + " " + expr(a.value.get()) +
               ")";
      }
      case StmtKind::Dim: {
        auto& d = static_cast<const DimStmt&>(st);
        std::string s = std::string("(dim ") + visibility(d.visibility);
        for (std::size_t i = 0; i < d.vars.size(); ++i) {
          s += (i ? " " : "") + toUtf8(d.vars[i].name) +
               (d.vars[i].isArray ? bounds(d.vars[i].bounds) : "");
        }
        return s + ")";
      }
      case StmtKind::ReDim: {
        auto& r = static_cast<const ReDimStmt&>(st);
        std::string s = r.preserve ? "(redim preserve" : "(redim";
        for (const auto& item : r.items) s += " " + expr(item.target.get()) + bounds(item.bounds);
        return s + ")";
      }
      case StmtKind::Const: {
        auto& c = static_cast<const ConstStmt&>(st);
        std::string s = std::string("(const ") + visibility(c.visibility);
        for (std::size_t i = 0; i < c.consts.size(); ++i) {
          s += (i ? " " : "") + toUtf8(c.consts[i].name) + "=" + expr(c.consts[i].value.get());
        }
        return s + ")";
      }
      case StmtKind::Erase: {
        std::string s = "(erase";
        for (const auto& t : static_cast<const EraseStmt&>(st).targets) s += " " + expr(t.get());
        return s + ")";
      }
      case StmtKind::If: {
        auto& i = static_cast<const IfStmt&>(st);
        std::string s = "(if";
        for (const auto& b : i.branches)
          s += " (" + expr(b.condition.get()) + " " + block(b.body) + ")";
        if (i.hasElse) s += " (else " + block(i.elseBody) + ")";
        return s + ")";
      }
      case StmtKind::Select: {
        auto& sel = static_cast<const SelectStmt&>(st);
        std::string s = "(select " + expr(sel.subject.get());
        for (const auto& c : sel.cases)
          s += " (case " + bounds(c.values) + " " + block(c.body) + ")";
        if (sel.hasElse) s += " (else " + block(sel.elseBody) + ")";
        return s + ")";
      }
      case StmtKind::For: {
        auto& f = static_cast<const ForStmt&>(st);
        return "(for " + toUtf8(f.variable) + " " + expr(f.from.get()) + " " + expr(f.to.get()) +
               " " + expr(f.step.get()) + " " + block(f.body) + ")";
      }
      case StmtKind::ForEach: {
        auto& f = static_cast<const ForEachStmt&>(st);
        return "(foreach " + toUtf8(f.variable) + " " + expr(f.collection.get()) + " " +
               block(f.body) + ")";
      }
      case StmtKind::Do: {
        auto& d = static_cast<const DoStmt&>(st);
        static const char* const kConds[] = {"", "while ", "until "};
        std::string cond =
            d.condition == LoopCondition::None
                ? ""
                : std::string(kConds[static_cast<int>(d.condition)]) + expr(d.test.get()) + " ";
        return d.testAtEnd ? "(do " + block(d.body) + " loop " + cond + ")"
                           : "(do " + cond + block(d.body) + ")";
      }
      case StmtKind::While: {
        auto& w = static_cast<const WhileStmt&>(st);
        return "(while " + expr(w.test.get()) + " " + block(w.body) + ")";
      }
      case StmtKind::Exit: {
        static const char* const kWhat[] = {"do", "for", "function", "sub", "property"};
        return std::string("(exit ") +
               kWhat[static_cast<int>(static_cast<const ExitStmt&>(st).what)] + ")";
      }
      case StmtKind::OnError:
        return static_cast<const OnErrorStmt&>(st).resumeNext ? "(onerror resume)"
                                                              : "(onerror goto0)";
      case StmtKind::With: {
        auto& w = static_cast<const WithStmt&>(st);
        return "(with " + expr(w.object.get()) + " " + block(w.body) + ")";
      }
      case StmtKind::Execute: {
        auto& x = static_cast<const ExecuteStmt&>(st);
        return (x.global ? "(executeglobal " : "(execute ") + expr(x.code.get()) + ")";
      }
      case StmtKind::Randomize:
        return "(randomize " + expr(static_cast<const RandomizeStmt&>(st).seed.get()) + ")";
      case StmtKind::Stop:
        return "(stop)";
    }
    return "?stmt";
  }
};

std::string printExpr(const char* src) {
  return Printer().expr(parseExpression(fromUtf8(src)).get());
}
std::string printProgram(const char* src) {
  return Printer().program(parseProgram(fromUtf8(src)));
}

TEST(VbsParser, ExpressionShapes) {
  struct Case {
    const char* src;
    const char* tree;
  };
  const Case cases[] = {
      // Precedence, loosest to tightest: Imp Eqv Xor Or And Not compare & + - Mod \ * / neg ^.
      {"1 + 2 * 3", "(+ 1 (* 2 3))"},
      {"-2 ^ 2", "(^ (neg 2) 2)"},
      {"-a ^ b ^ c", "(^ (^ (neg a) b) c)"},
      {"a => b", "(>= a b)"},
      {"a =< b", "(<= a b)"},
      {"a >< b", "(<> a b)"},
      {"(f)(x)", "(call f x)"},
      {"2 ^ 3 ^ 2", "(^ (^ 2 3) 2)"},
      {"2 ^ -1", "(^ 2 (neg 1))"},
      {"-a * b", "(* (neg a) b)"},
      {"a - -b", "(- a (neg b))"},
      {"a \\ b * c", "(\\ a (* b c))"},
      {"a Mod b \\ c", "(mod a (\\ b c))"},
      {"a + b Mod c", "(+ a (mod b c))"},
      {"a - b + c", "(+ (- a b) c)"},
      {"a & b + c", "(& a (+ b c))"},
      {"a = b & c", "(= a (& b c))"},
      {"a < b = c", "(= (< a b) c)"},
      {"x Is Nothing", "(is x Nothing)"},
      {"Not a = b", "(not (= a b))"},
      {"Not a And b", "(and (not a) b)"},
      {"a And Not b", "(and a (not b))"},
      {"a Or b And c", "(or a (and b c))"},
      {"a Xor b Or c", "(xor a (or b c))"},
      {"a Eqv b Xor c", "(eqv a (xor b c))"},
      {"a Imp b Eqv c", "(imp a (eqv b c))"},
      {"a <> b Or c >= d", "(or (<> a b) (>= c d))"},
      {"(1 + 2) * 3", "(* (paren (+ 1 2)) 3)"},
      // Postfix forms and names.
      {"o.Items(1).Name", "(. (call (. o Items) 1) Name)"},
      {"f(1, , 3)", "(call f 1 _ 3)"},
      {"f()", "(call f)"},
      {"a(1)(2)", "(call (call a 1) 2)"},
      {"New Foo", "(new Foo)"},
      {"Me.x", "(. Me x)"},
      {"obj.End + x.Default", "(+ (. obj End) (. x Default))"},
      {"rs.Fields.Item(\"a\")", "(call (. (. rs Fields) Item) \"a\")"},
      {"[my var] + step", "(+ my var step)"},
      {"s&Hello", "(& s Hello)"},
      {"\"a\"&17", "(& \"a\" 17)"},
      {"a _\n + b", "(+ a b)"},
      // Literal types.
      {"32767", "32767"},
      {"32768", "32768L"},
      {"2147483647", "2147483647L"},
      {"2147483648", "2.14748e+09D"},
      {"&HFFFF", "-1"},
      {"&H8000", "-32768"},
      {"&h1f", "31"},
      {"&H10000", "65536L"},
      {"&HFFFFFFFF", "-1L"},
      {"&HFF&", "255"},
      {"&HFFFF&", "65535L"},
      {"&17", "15"},
      {"&h01or&h02", "(or 1 2)"},
      {"&O17", "15"},
      {"1.5", "1.5D"},
      {".5", "0.5D"},
      {"1e3", "1000D"},
      {"1.5E-3", "0.0015D"},
      {"1e-400", "0D"},
      {"0.001e310", "1e+307D"},
      {"0.0001e-320", "0D"},
      {"\"a\"\"b\"", "\"a\"\"b\""},
      {"\"\"", "\"\""},
      {"True Or False", "(or True False)"},
      {"Empty & Null", "(& Empty Null)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.src);
    EXPECT_EQ(printExpr(c.src), c.tree);
  }
}

TEST(VbsParser, DateLiteral) {
  ExprPtr e = parseExpression(u"#1/2/2003#");
  ASSERT_EQ(e->kind, ExprKind::Literal);
  const Variant& v = static_cast<LiteralExpr&>(*e).value;
  ASSERT_EQ(v.type(), VarType::Date);
  EXPECT_EQ(v.dateValue(), *makeDate(2003, 1, 2, 0, 0, 0));
}

TEST(VbsParser, ProgramShapes) {
  struct Case {
    const char* src;
    const char* tree;
  };
  const Case cases[] = {
      {"x = 1", "(let x 1)"},
      {"a = b = c", "(let a (= b c))"},
      {"f a, b", "(callstmt (call f a b))"},
      {"f(a)", "(callstmt (call f (paren a)))"},
      {"f (a), b", "(callstmt (call f (paren a) b))"},
      {"f (a) + 1", "(callstmt (call f (+ (paren a) 1)))"},
      {"f 1, , 3", "(callstmt (call f 1 _ 3))"},
      {"f , 2", "(callstmt (call f _ 2))"},
      {"add (5 * -1), (3 * -1), 7",
       "(callstmt (call add (paren (* 5 (neg 1))) (paren (* 3 (neg 1))) 7))"},
      {"If a Then: x = 1: y = 2", "(if (a [(let x 1) (let y 2)]))"},
      {"f", "(callstmt f)"},
      {"f()", "(callstmt (call f))"},
      {"f -1", "(callstmt (call f (neg 1)))"},
      {"Call f(a, b)", "(Call (call f a b))"},
      {"Call f", "(Call f)"},
      {"obj.m a", "(callstmt (call (. obj m) a))"},
      {"o.m(1).n (2), 3", "(callstmt (call (. (call (. o m) 1) n) (paren 2) 3))"},
      {"a(1).b = 2", "(let (. (call a 1) b) 2)"},
      {"x(1) = 2", "(let (call x 1) 2)"},
      {"Set x = New Foo", "(set x (new Foo))"},
      {"Set o.p = Nothing", "(set (. o p) Nothing)"},
      {"With o\n .a.b(1) = 2\n Response.Write .x, .y(1)\n .m\nEnd With",
       "(with o [(let (call (. (. _ a) b) 1) 2) "
       "(callstmt (call (. Response Write) (. _ x) (call (. _ y) 1))) (callstmt (. _ m))])"},
      {"Dim a(3), b(2, 3), c()", "(dim a(3) b(2,3) c())"},
      {"Dim x : x = 1", "(dim x) (let x 1)"},
      {"ReDim Preserve a(n + 1), b(2, m)", "(redim preserve a((+ n 1)) b(2,m))"},
      {"Const x = 5, y = \"s\", z = -1", "(const x=5 y=\"s\" z=(neg 1))"},
      {"Private Const k = - -2", "(const private k=(neg (neg 2)))"},
      {"Sub a\nEnd Sub\nSub a : x = 1 End Sub", "(sub a () []) (sub a () [(let x 1)])"},
      {"If c Then\n Class K : End Class\nEnd If", "(if (c [])) (class K)"},
      {"Public g, h(2)", "(dim public g h(2))"},
      {"Erase a", "(erase a)"},
      {"If c Then a: b Else c: d",
       "(if (c [(callstmt a) (callstmt b)]) (else [(callstmt c) (callstmt d)]))"},
      {"If a Then If b Then c Else d", "(if (a [(if (b [(callstmt c)]) (else [(callstmt d)]))]))"},
      {"If a Then x = 1 Else x = 2\ny = 3", "(if (a [(let x 1)]) (else [(let x 2)])) (let y 3)"},
      {"If a Then ' note\n x = 1\nElseIf b Then\n x = 2\nElse\n x = 3\nEnd If",
       "(if (a [(let x 1)]) (b [(let x 2)]) (else [(let x 3)]))"},
      {"If a Then\nElse x = 1\nEnd If", "(if (a []) (else [(let x 1)]))"},
      {"Select Case x\n' c\nCase 1, 2\n y\nCase \"a\": z\nCase Else\n w\nEnd Select",
       "(select x (case (1,2) [(callstmt y)]) (case (\"a\") [(callstmt z)]) (else [(callstmt "
       "w)]))"},
      {"For i = 1 To 10 Step 2\n x\nNext", "(for i 1 10 2 [(callstmt x)])"},
      {"For i = a To b: Next", "(for i a b _ [])"},
      {"For Each v In coll: x: Next", "(foreach v coll [(callstmt x)])"},
      {"Do While x\n Exit Do\nLoop", "(do while x [(exit do)])"},
      {"Do\nLoop Until x > 1", "(do [] loop until (> x 1) )"},
      {"Do\n For i = 1 To 2\n Exit Do\n Exit For\n Next\nLoop",
       "(do [(for i 1 2 _ [(exit do) (exit for)])])"},
      {"While x\n x = x - 1\nWend", "(while x [(let x (- x 1))])"},
      {"On Error Resume Next\nOn Error GoTo 0", "(onerror resume) (onerror goto0)"},
      {"Execute \"x = 1\"\nExecuteGlobal s", "(execute \"x = 1\") (executeglobal s)"},
      {"Randomize\nRandomize 5\nStop", "(randomize _) (randomize 5) (stop)"},
      {"x = 1 _\n  + 2", "(let x (+ 1 2))"},
      {"x = 1 ' c\nRem another \"unterminated\ny = 2 : Rem third", "(let x 1) (let y 2)"},
      {"IF x THEN y ELSE z", "(if (x [(callstmt y)]) (else [(callstmt z)]))"},
      {"Option Explicit\n' c\nDim x", "(option explicit) (dim x)"},
      {"x = o.Step + step\nstep = 1", "(let x (+ (. o Step) step)) (let step 1)"},
      {"Function f(ByVal a, ByRef b, c())\n f = a\n Exit Function\nEnd Function",
       "(function f (byval a b c()) [(let f a) (exit function)])"},
      {"Sub s : Exit Sub : End Sub\nPrivate Sub t()\nEnd Sub",
       "(sub s () [(exit sub)]) (private sub t () [])"},
      {"Class Foo\n Private m, n(3)\n Public Default Property Get Value(i)\n Value = m\n End "
       "Property\n"
       " Property Let Value(i, v)\n m = v\n Exit Property\n End Property\n Dim d\n"
       " Const k = 1\n Sub Class_Initialize : End Sub\nEnd Class",
       "(class Foo (dim private m n(3)) (dim d) (const k=1) (public default get Value (i) "
       "[(let Value m)]) (let Value (i v) [(let m v) (exit property)]) (sub Class_Initialize () "
       "[]))"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.src);
    try {
      EXPECT_EQ(printProgram(c.src), c.tree);
    } catch (const ScriptException& e) {
      ADD_FAILURE() << e.what();
    }
  }
}

struct ErrorCase {
  const char* src;
  int number;
  int line;
  int column;
};

void expectError(const ErrorCase& c) {
  SCOPED_TRACE(c.src);
  try {
    parseProgram(fromUtf8(c.src));
    ADD_FAILURE() << "parsed without error";
  } catch (const ScriptException& e) {
    EXPECT_EQ(e.error().number, c.number) << e.what();
    EXPECT_EQ(e.error().line, c.line) << e.what();
    EXPECT_EQ(e.error().column, c.column) << e.what();
    EXPECT_EQ(e.error().source, kCompileErrorSource);
    EXPECT_EQ(e.error().description, compileErrorDescription(c.number));
  }
}

TEST(VbsParser, SyntaxErrors) {
  const std::string longName(256, 'a');
  const std::string tooLong = "x = " + longName;
  const ErrorCase cases[] = {
      {"x = (1 + 2", 1006, 1, 11},
      {"x = ", 1023, 1, 5},
      {")", 1024, 1, 1},
      {"5", 1024, 1, 1},
      {"x = 1 2", 1025, 1, 7},
      {"Dim 5", 1010, 1, 5},
      {"Dim a(n)", 1026, 1, 7},
      {"For i 1 To 2\nNext", 1011, 1, 7},
      {"For i = 1 2\nNext", 1013, 1, 11},
      {"For i = 1 To 3\nNext i", 1025, 2, 6},
      {"For i = 1 To 2\n", 1020, 2, 1},
      {"For Each x coll\nNext", 1046, 1, 12},
      {"If x\ny\nEnd If", 1017, 1, 5},
      {"If x Then\ny", 1014, 2, 2},
      {"If x Then\nEnd Sub", 1012, 2, 5},
      {"If x Then y\nEnd If", 1024, 2, 1},
      {"x = \"abc", 1033, 1, 5},
      {"x = 1 2\ny = \"abc", 1025, 1, 7},
      {"x = \"abc\ny = 1 2", 1033, 1, 5},
      {"Exit Function", 1039, 1, 1},
      {"Do\nLoop\nExit Do", 1039, 3, 1},
      {"Sub s\nExit Function\nEnd Sub", 1039, 2, 1},
      {"Exit Now", 1039, 1, 6},
      {"Class a\nEnd Class\nSub a\nEnd Sub", 1041, 3, 5},
      {"Sub a\nEnd Sub\nClass a\nEnd Class", 1041, 3, 7},
      {"Private Const k = 2 * 3", 1045, 1, 19},
      {"Const k = (1)", 1045, 1, 11},
      {"Const k = j", 1045, 1, 11},
      {"Const k = -\"s\"", 1045, 1, 11},
      {"Dim x\nIf y Then\nDim x\nEnd If", 1041, 3, 5},
      {"Dim f\nFunction f\nEnd Function", 1041, 2, 10},
      {"Sub s(a, a)\nEnd Sub", 1041, 1, 10},
      {"Sub s(a)\nDim a\nEnd Sub", 1041, 2, 5},
      {"Class C\nEnd Class\nClass C\nEnd Class", 1041, 3, 7},
      {"Class C\nDim p\nProperty Get p\nEnd Property\nEnd Class", 1041, 3, 14},
      {"Class C\nProperty Get p\nEnd Property\nProperty Get p\nEnd Property\nEnd Class", 1041, 4,
       14},
      {"f(1, 2)", 1044, 1, 2},
      {"o.m(1, 2)", 1044, 1, 4},
      {"Select Case x\nCase Is > 3\nEnd Select", 1023, 2, 6},
      {"Select Case x\nCase 1 To 5\nEnd Select", 1025, 2, 8},
      {"Select x", 1021, 1, 8},
      {"Select Case x\ny = 1\nEnd Select", 1021, 2, 1},
      {"Select Case x\nCase 1\nEnd If", 1022, 3, 5},
      {"Next", 1055, 1, 1},
      {"Sub s\nNext\nEnd Sub", 1055, 2, 1},
      {"Loop", 1038, 1, 1},
      {"Do While x\nLoop Until y", 1025, 2, 6},
      {"Do x\nLoop", 1028, 1, 4},
      {"Do\nLoop x", 1028, 2, 6},
      {"Do\nx", 1019, 2, 2},
      {"While x\n", 1018, 2, 1},
      {"With x\nEnd If", 1029, 2, 5},
      {"Function f\nEnd Sub", 1015, 2, 5},
      {"Sub f\nEnd Function", 1016, 2, 5},
      {"Sub f\nWend", 1014, 2, 1},
      {"Class C\nProperty Get P\nEnd Function\nEnd Class", 1050, 3, 5},
      {"Class C\nEnd Sub", 1047, 2, 5},
      {"Class C\nx = 1\nEnd Class", 1002, 2, 1},
      {"Class\nEnd Class", 1010, 1, 6},
      {"x = 1\nOption Explicit", 1024, 2, 1},
      {"x = 5 _ y", 1032, 1, 7},
      {"x = a $ b", 1032, 1, 7},
      {"x = [abc", 1032, 1, 5},
      {tooLong.c_str(), 1030, 1, 5},
      {"x = #not a date#", 1002, 1, 5},
      {"x = 1e400", 1031, 1, 5},
      {"x = 0.001e312", 1031, 1, 5},
      {"x = &H1FFFFFFFF", 1031, 1, 5},
      {"Me = 1", 1037, 1, 1},
      {"Const x = f(1)", 1045, 1, 11},
      {"Const x", 1011, 1, 8},
      {"ReDim a", 1005, 1, 8},
      {"On Error GoTo label", 1002, 1, 15},
      {"On Error Resume", 1002, 1, 16},
      {"If x Then Sub s: End Sub", 1002, 1, 11},
      {"Sub a\nSub b\nEnd Sub\nEnd Sub", 1002, 2, 1},
      {"Property Get P\nEnd Property", 1048, 1, 1},
      {"Public Default Function F\nEnd Function", 1048, 1, 8},
      {"Class C\nProperty P\nEnd Property\nEnd Class", 1049, 2, 10},
      {"Class C\nPublic Default Property Let P(v)\nEnd Property\nEnd Class", 1058, 2, 8},
      {"Class C\nPrivate Default Function F\nEnd Function\nEnd Class", 1057, 2, 9},
      {"Class C\nDefault Function F\nEnd Function\nEnd Class", 1057, 2, 1},
      {"Class C\nPublic Default x\nEnd Class", 1056, 2, 8},
      {"Class C\nPublic Default Sub A\nEnd Sub\nPublic Default Function B\nEnd Function\nEnd Class",
       1052, 4, 8},
      {"Class C\nSub Class_Initialize(a)\nEnd Sub\nEnd Class", 1053, 2, 5},
      {"Class C\nProperty Let P\nEnd Property\nEnd Class", 1054, 2, 14},
      {"Class C\nProperty Get P(a)\nEnd Property\nProperty Let P(v)\nEnd Property\nEnd Class", 1051,
       4, 14},
      {"Class C\nSub s\n", 1014, 3, 1},
  };
  for (const auto& c : cases) expectError(c);
}

TEST(VbsParser, ErrorCarriesLineTextAndOffset) {
  try {
    parseProgram(u"a = 1\r\n  b = (2\r\nc = 3", 10);
    FAIL() << "parsed";
  } catch (const ScriptException& e) {
    EXPECT_EQ(e.error().number, 1006);
    EXPECT_EQ(e.error().line, 12);
    EXPECT_EQ(e.error().column, 9);
    EXPECT_EQ(e.error().text, u"  b = (2");
    EXPECT_EQ(e.error().description, u"Expected ')'");
  }
  EXPECT_THROW(parseExpression(u"1 +"), ScriptException);
  EXPECT_THROW(parseExpression(u"1 2"), ScriptException);
  EXPECT_EQ(compileErrorDescription(1025), u"Expected end of statement");
  EXPECT_EQ(compileErrorDescription(1058), u"'Default' is allowed only on Property Get");
}

TEST(VbsParser, Positions) {
  // The string holds a character outside the basic plane: two UTF-16 units.
  Program p =
      parseProgram(u"s = \"\u00e9\U0001F600\" : t = 1 + f(2)\n  If a Then\n    g b\n  End If");
  ASSERT_EQ(p.statements.size(), 3u);
  EXPECT_EQ(p.statements[1]->pos.line, 1);
  EXPECT_EQ(p.statements[1]->pos.column, 13);
  auto& assign = static_cast<AssignStmt&>(*p.statements[1]);
  auto& sum = static_cast<BinaryExpr&>(*assign.value);
  EXPECT_EQ(sum.pos.column, 17);
  EXPECT_EQ(sum.right->pos.column, 21);
  auto& ifs = static_cast<IfStmt&>(*p.statements[2]);
  EXPECT_EQ(ifs.pos.line, 2);
  EXPECT_EQ(ifs.pos.column, 3);
  EXPECT_EQ(ifs.branches[0].body[0]->pos.line, 3);
  EXPECT_EQ(ifs.branches[0].body[0]->pos.column, 5);

  Program q = parseProgram(u"Sub s(a)\n  x = 1\nEnd Sub", 4);
  EXPECT_EQ(q.procedures[0].pos.line, 5);
  EXPECT_EQ(q.procedures[0].params[0].pos.column, 7);
  EXPECT_EQ(q.procedures[0].endPos.line, 7);
  EXPECT_EQ(q.procedures[0].body[0]->pos.column, 3);
}

TEST(VbsParser, DeepNestingIsRefusedCleanly) {
  std::u16string deep = u"x = " + std::u16string(5000, u'(') + u"1" + std::u16string(5000, u')');
  EXPECT_THROW(parseProgram(deep), ScriptException);
  std::u16string ifs;
  for (int i = 0; i < 3000; ++i) ifs += u"If a Then\n";
  EXPECT_THROW(parseProgram(ifs), ScriptException);
  std::u16string chain = u"x = 1";
  for (int i = 0; i < 200; ++i) chain += u" & _\n \"piece\"";
  EXPECT_NO_THROW(parseProgram(chain));
}

// Random token soups and mutated programs either parse or raise a compile error.
TEST(VbsParser, FuzzNeverCrashes) {
  const char* const vocabulary[] = {
      "x",        "y",          "f",      "o.m",     ".p",      "(",      ")",        ",",
      ":",        "\n",         "=",      "+",       "-",       "*",      "^",        "&",
      "\\",       "Mod",        "Not",    "And",     "Is",      "1",      "&HFF",     "1.5e3",
      "\"s\"",    "#1/2/2003#", "If",     "Then",    "Else",    "ElseIf", "End",      "Sub",
      "Function", "Property",   "Get",    "Let",     "Set",     "Class",  "Dim",      "ReDim",
      "Preserve", "Const",      "For",    "Each",    "In",      "To",     "Step",     "Next",
      "Do",       "Loop",       "While",  "Until",   "Wend",    "Select", "Case",     "With",
      "Call",     "Exit",       "On",     "Error",   "Resume",  "GoTo",   "0",        "New",
      "Me",       "Nothing",    "Public", "Private", "Default", "Option", "Explicit", "_\n",
      "'c\n",     "[a b]",      "\"",     "#",       "$"};
  const char* const programs[] = {
      "Class C\n Public Default Property Get V(i)\n V = i * 2\n End Property\nEnd Class\n"
      "Set o = New C\nx = o(3)\n",
      "For i = 1 To 10 Step 2\n If i Mod 2 = 0 Then x = x & i Else y = -i ^ 2\nNext\n",
      "Select Case s\nCase 1, 2: f (1), 2\nCase Else\n With o: .a.b(1) = #1/2/2003#: End With\n"
      "End Select\n",
      "Function f(ByVal a, b())\n Do While a > 0: a = a - 1: Loop\n f = a\nEnd Function\n",
      "If a Then\n Sub s() x = 1 End Sub\nEnd If\nIf a => &h01or&h02 Then b Else c End If\n"
      "Select Case x\nCase 1  y = (f)(x)\nEnd Select\nCall (New C).M()\nproperty = -3^2 >< &17\n"};
  std::mt19937 rng(12345);
  auto attempt = [](const std::u16string& src) {
    try {
      parseProgram(src);
    } catch (const ScriptException& e) {
      EXPECT_GE(e.error().number, 1001);
      EXPECT_LE(e.error().number, 1058);
    }
  };
  for (int round = 0; round < 3000; ++round) {
    std::string soup;
    int n = static_cast<int>(rng() % 30);
    for (int i = 0; i < n; ++i) {
      soup += vocabulary[rng() % std::size(vocabulary)];
      soup += rng() % 4 ? " " : "";
    }
    attempt(fromUtf8(soup));
  }
  for (int round = 0; round < 3000; ++round) {
    std::u16string src = fromUtf8(programs[rng() % std::size(programs)]);
    int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits && !src.empty(); ++e) {
      std::size_t at = rng() % src.size();
      switch (rng() % 3) {
        case 0:
          src.erase(at, 1 + rng() % 3);
          break;
        case 1:
          src.insert(at, 1, src[rng() % src.size()]);
          break;
        default:
          src[at] = static_cast<char16_t>(u" \n(),.:=\"#_'x1"[rng() % 14]);
          break;
      }
    }
    attempt(src);
  }
}

}  // namespace
}  // namespace vantorel::vbs
