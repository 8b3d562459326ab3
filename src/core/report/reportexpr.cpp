#include "report/reportexpr.h"

#include "common/numberformat.h"
#include "i18n/texts.h"
#include "storage/dataset.h"

#include <QDateTime>
#include <cmath>

namespace zf {

// --- data ---

void ReportData::capture(const QString& connection, Dataset& ds) {
    ReportTable t;
    if (ds.active()) {
        const auto& fields = ds.fields();
        for (size_t i = 0; i < fields.size(); ++i) {
            t.columns << fields[i].name;
            t.index.insert(fields[i].name.toLower(), int(i));
        }
        ds.checkBrowseMode();
        const int remembered = ds.recNo();
        ds.disableControls();
        struct Release {
            Dataset& ds;
            int recNo;
            ~Release() {
                ds.first();
                for (int i = 1; i < recNo && !ds.eof(); ++i)
                    ds.next();
                ds.enableControls();
            }
        } release{ds, remembered};
        t.rows.reserve(size_t(ds.recordCount()));
        for (ds.first(); !ds.eof(); ds.next()) {
            QVariantList row;
            row.reserve(qsizetype(fields.size()));
            for (size_t i = 0; i < fields.size(); ++i) {
                QVariant v = ds.rawValue(int(i));
                if (fields[i].type == JetType::Currency && v.isValid() && !v.isNull())
                    v = currencyToDouble(v.toLongLong());
                row << v;
            }
            t.rows.push_back(std::move(row));
        }
    }
    tables_.insert(connection.toLower(), t);
}

void ReportData::setTable(const QString& connection, const ReportTable& table) {
    tables_.insert(connection.toLower(), table);
}

const ReportTable* ReportData::table(const QString& connection) const {
    auto it = tables_.find(connection.toLower());
    return it == tables_.end() ? nullptr : &*it;
}

// --- expressions ---

struct ExprNode {
    enum Type { Number, String, Field, Variable, Call, Unary, Binary } type = Number;
    double number = 0;
    QString text;       // string, field, variable, function or operator
    QString connection; // of a field
    std::vector<std::unique_ptr<ExprNode>> args;
};

namespace {

struct ParseError {
    QString what;
};

class Parser {
public:
    explicit Parser(const QString& s) : s_(s) {}

    std::unique_ptr<ExprNode> parseAll() {
        auto n = parseOr();
        skip();
        if (i_ < s_.size())
            throw ParseError{QStringLiteral("unexpected \"%1\"").arg(s_.mid(i_))};
        return n;
    }

private:
    void skip() {
        while (i_ < s_.size() && s_[i_].isSpace())
            ++i_;
    }
    bool peekWord(const char* w) {
        skip();
        const QString word = QString::fromLatin1(w);
        if (s_.mid(i_, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            return false;
        const int end = i_ + int(word.size());
        return end >= s_.size() || !(s_[end].isLetterOrNumber() || s_[end] == u'_');
    }
    bool eat(const char* op) {
        skip();
        const QString o = QString::fromLatin1(op);
        if (s_.mid(i_, o.size()) == o) {
            i_ += int(o.size());
            return true;
        }
        return false;
    }
    static std::unique_ptr<ExprNode> binary(const QString& op, std::unique_ptr<ExprNode> a,
                                            std::unique_ptr<ExprNode> b) {
        auto n = std::make_unique<ExprNode>();
        n->type = ExprNode::Binary;
        n->text = op;
        n->args.push_back(std::move(a));
        n->args.push_back(std::move(b));
        return n;
    }
    std::unique_ptr<ExprNode> parseOr() {
        auto a = parseAnd();
        while (peekWord("or")) {
            i_ += 2;
            a = binary(QStringLiteral("or"), std::move(a), parseAnd());
        }
        return a;
    }
    std::unique_ptr<ExprNode> parseAnd() {
        auto a = parseCompare();
        while (peekWord("and")) {
            i_ += 3;
            a = binary(QStringLiteral("and"), std::move(a), parseCompare());
        }
        return a;
    }
    std::unique_ptr<ExprNode> parseCompare() {
        auto a = parseAdd();
        for (const char* op : {"<=", ">=", "<>", "=", "<", ">"})
            if (eat(op))
                return binary(QString::fromLatin1(op), std::move(a), parseAdd());
        return a;
    }
    std::unique_ptr<ExprNode> parseAdd() {
        auto a = parseMul();
        for (;;) {
            if (eat("+"))
                a = binary(QStringLiteral("+"), std::move(a), parseMul());
            else if (eat("-"))
                a = binary(QStringLiteral("-"), std::move(a), parseMul());
            else
                return a;
        }
    }
    std::unique_ptr<ExprNode> parseMul() {
        auto a = parseUnary();
        for (;;) {
            if (eat("*"))
                a = binary(QStringLiteral("*"), std::move(a), parseUnary());
            else if (eat("/"))
                a = binary(QStringLiteral("/"), std::move(a), parseUnary());
            else
                return a;
        }
    }
    std::unique_ptr<ExprNode> parseUnary() {
        bool isNot = false;
        if (peekWord("not")) {
            i_ += 3;
            isNot = true;
        }
        if (isNot || eat("-")) {
            auto n = std::make_unique<ExprNode>();
            n->type = ExprNode::Unary;
            n->text = isNot ? QStringLiteral("not") : QStringLiteral("-");
            n->args.push_back(parseUnary());
            return n;
        }
        return parsePrimary();
    }
    QString identifier() {
        skip();
        const int start = i_;
        while (i_ < s_.size() && (s_[i_].isLetterOrNumber() || s_[i_] == u'_'))
            ++i_;
        if (start == i_)
            throw ParseError{i_ < s_.size() ? QStringLiteral("unexpected \"%1\"").arg(s_.mid(i_))
                                            : QStringLiteral("the expression ends too early")};
        return s_.mid(start, i_ - start);
    }
    std::unique_ptr<ExprNode> parsePrimary() {
        skip();
        if (i_ >= s_.size())
            throw ParseError{QStringLiteral("the expression ends too early")};
        auto n = std::make_unique<ExprNode>();
        const QChar c = s_[i_];
        if (c.isDigit() || (c == u'.' && i_ + 1 < s_.size() && s_[i_ + 1].isDigit())) {
            const int start = i_;
            while (i_ < s_.size() && (s_[i_].isDigit() || s_[i_] == u'.'))
                ++i_;
            n->type = ExprNode::Number;
            n->number = s_.mid(start, i_ - start).toDouble();
            return n;
        }
        if (c == u'\'') {
            ++i_;
            const int start = i_;
            while (i_ < s_.size() && s_[i_] != u'\'')
                ++i_;
            if (i_ >= s_.size())
                throw ParseError{QStringLiteral("a 'text' is not closed")};
            n->type = ExprNode::String;
            n->text = s_.mid(start, i_ - start);
            ++i_;
            return n;
        }
        if (c == u'(') {
            ++i_;
            auto inner = parseOr();
            if (!eat(")"))
                throw ParseError{QStringLiteral("\")\" is missing")};
            return inner;
        }
        if (c == u'$') {
            ++i_;
            n->type = ExprNode::Variable;
            n->text = identifier().toLower();
            return n;
        }
        const QString name = identifier();
        if (eat("(")) {
            n->type = ExprNode::Call;
            n->text = name.toLower();
            if (!eat(")")) {
                do {
                    n->args.push_back(parseOr());
                } while (eat(","));
                if (!eat(")"))
                    throw ParseError{
                        QStringLiteral("\")\" is missing after the arguments of %1").arg(name)};
            }
            return n;
        }
        n->type = ExprNode::Field;
        skip();
        if (i_ < s_.size() && s_[i_] == u'.') {
            ++i_;
            n->connection = name;
            n->text = identifier();
        } else {
            n->text = name;
        }
        return n;
    }

    const QString& s_;
    int i_ = 0;
};

bool isNumeric(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

double num(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return 0;
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const double d = v.toString().toDouble(&ok);
        return ok ? d : 0;
    }
    return v.toDouble();
}

double roundHalfEven(double x) {
    return std::nearbyint(x); // the default rounding mode rounds halves to even
}

void warn(const EvalEnv& env, const QString& what) {
    if (env.warnings && !env.warnings->contains(what))
        env.warnings->append(what);
}

QVariant evalNode(const ExprNode& n, const EvalEnv& env, const EvalScope* scope);

QVariant fieldValue(const EvalEnv& env, const EvalScope* scope, const QString& connection,
                    const QString& field) {
    for (const EvalScope* s = scope; s; s = s->outer) {
        if (!s->table || s->row < 0)
            continue;
        if (!connection.isEmpty() && s->connection.compare(connection, Qt::CaseInsensitive) != 0)
            continue;
        const int c = s->table->column(field);
        if (c >= 0)
            return s->table->rows[size_t(s->row)].value(c);
        if (!connection.isEmpty())
            break;
    }
    const QString conn = connection.isEmpty() ? env.defaultConnection : connection;
    const ReportTable* t = env.data ? env.data->table(conn) : nullptr;
    if (!t) {
        warn(env, QStringLiteral("unknown connection %1").arg(conn));
        return {};
    }
    const int c = t->column(field);
    if (c < 0) {
        warn(env, QStringLiteral("unknown field %1.%2").arg(conn, field));
        return {};
    }
    if (t->rows.empty())
        return {};
    return t->rows.front().value(c);
}

const ReportTable* connectionArg(const ExprNode& n, const EvalEnv& env, QString* name) {
    if (n.type != ExprNode::Field || !n.connection.isEmpty()) {
        warn(env, QStringLiteral("a connection name is expected"));
        return nullptr;
    }
    *name = n.text;
    const ReportTable* t = env.data ? env.data->table(n.text) : nullptr;
    if (!t)
        warn(env, QStringLiteral("unknown connection %1").arg(n.text));
    return t;
}

QVariant callFunction(const ExprNode& n, const EvalEnv& env, const EvalScope* scope) {
    const QString& f = n.text;
    const auto& a = n.args;
    auto arg = [&](size_t i) { return i < a.size() ? evalNode(*a[i], env, scope) : QVariant(); };
    if (f == QLatin1String("t") || f == QLatin1String("label")) {
        QString text = LanguageTextIn(env.languageBase, int(num(arg(0))));
        if (f == QLatin1String("label")) {
            // A caption as a label: without the access key mark and the colon.
            text.replace(QLatin1String("&&"), QString(QChar(0xE002)));
            text.remove(u'&');
            text.replace(QChar(0xE002), u'&');
            while (!text.isEmpty() && (text.back() == u' ' || text.back() == u':'))
                text.chop(1);
        }
        return text;
    }
    if (f == QLatin1String("sum") || f == QLatin1String("count")) {
        if (a.empty())
            return 0.0;
        QString conn;
        const ReportTable* t = connectionArg(*a[0], env, &conn);
        if (!t)
            return 0.0;
        const bool isSum = f == QLatin1String("sum");
        const ExprNode* value = isSum && a.size() > 1 ? a[1].get() : nullptr;
        const ExprNode* cond = a.size() > (isSum ? 2u : 1u) ? a.back().get() : nullptr;
        double total = 0;
        for (size_t r = 0; r < t->rows.size(); ++r) {
            EvalScope row{conn, t, int(r), scope};
            if (cond && !truthy(evalNode(*cond, env, &row)))
                continue;
            total += isSum ? (value ? num(evalNode(*value, env, &row)) : 0) : 1;
        }
        return total;
    }
    if (f == QLatin1String("lookup")) {
        if (a.size() != 4) {
            warn(env, QStringLiteral("lookup takes four arguments"));
            return {};
        }
        QString conn;
        const ReportTable* t = connectionArg(*a[0], env, &conn);
        if (!t || a[1]->type != ExprNode::Field || a[3]->type != ExprNode::Field)
            return {};
        const int key = t->column(a[1]->text);
        const int result = t->column(a[3]->text);
        if (key < 0 || result < 0) {
            warn(env, QStringLiteral("unknown field in lookup on %1").arg(conn));
            return {};
        }
        const QVariant wanted = arg(2);
        for (const QVariantList& row : t->rows)
            if (row.value(key) == wanted ||
                (isNumeric(wanted) && num(row.value(key)) == num(wanted)))
                return row.value(result);
        return {};
    }
    if (f == QLatin1String("fmt")) {
        // A sentence of the text table with its placeholders filled.
        QVariantList values;
        for (size_t i = 1; i < a.size(); ++i)
            values << arg(i);
        return formatText(LanguageTextIn(env.languageBase, int(num(arg(0)))), values, env.locale);
    }
    if (f == QLatin1String("contains"))
        return arg(0).toString().contains(arg(1).toString());
    if (f == QLatin1String("bit"))
        return double((qint64(num(arg(0))) >> qint64(num(arg(1)))) & 1);
    if (f == QLatin1String("if"))
        return truthy(arg(0)) ? arg(1) : arg(2);
    if (f == QLatin1String("round"))
        return roundHalfEven(num(arg(0)));
    if (f == QLatin1String("abs"))
        return std::fabs(num(arg(0)));
    if (f == QLatin1String("min") || f == QLatin1String("max")) {
        double r = num(arg(0));
        for (size_t i = 1; i < a.size(); ++i)
            r = f == QLatin1String("min") ? std::min(r, num(arg(i))) : std::max(r, num(arg(i)));
        return r;
    }
    warn(env, QStringLiteral("unknown function %1").arg(f));
    return {};
}

QVariant evalNode(const ExprNode& n, const EvalEnv& env, const EvalScope* scope) {
    switch (n.type) {
    case ExprNode::Number:
        return n.number;
    case ExprNode::String:
        return n.text;
    case ExprNode::Field:
        return fieldValue(env, scope, n.connection, n.text);
    case ExprNode::Variable:
        if (n.text == QLatin1String("page"))
            return QString(QChar(PageNumberMark));
        if (n.text == QLatin1String("pages"))
            return QString(QChar(PageCountMark));
        if (n.text == QLatin1String("currency"))
            return env.currency;
        warn(env, QStringLiteral("unknown variable $%1").arg(n.text));
        return {};
    case ExprNode::Call:
        return callFunction(n, env, scope);
    case ExprNode::Unary: {
        const QVariant v = evalNode(*n.args[0], env, scope);
        if (n.text == QLatin1String("not"))
            return !truthy(v);
        return -num(v);
    }
    case ExprNode::Binary: {
        const QString& op = n.text;
        if (op == QLatin1String("and"))
            return truthy(evalNode(*n.args[0], env, scope)) &&
                   truthy(evalNode(*n.args[1], env, scope));
        if (op == QLatin1String("or"))
            return truthy(evalNode(*n.args[0], env, scope)) ||
                   truthy(evalNode(*n.args[1], env, scope));
        const QVariant a = evalNode(*n.args[0], env, scope);
        const QVariant b = evalNode(*n.args[1], env, scope);
        const bool texts = a.typeId() == QMetaType::QString || b.typeId() == QMetaType::QString;
        if (op == QLatin1String("+") && texts && !(isNumeric(a) && isNumeric(b)))
            return a.toString() + b.toString();
        if (op.size() <= 2 && QStringLiteral("=<><=>=").contains(op)) {
            int cmp;
            if (texts && !(isNumeric(a) || isNumeric(b))) {
                cmp = QString::compare(a.toString(), b.toString());
            } else {
                const double x = num(a), y = num(b);
                cmp = x < y ? -1 : (x > y ? 1 : 0);
            }
            if (op == QLatin1String("="))
                return cmp == 0;
            if (op == QLatin1String("<>"))
                return cmp != 0;
            if (op == QLatin1String("<"))
                return cmp < 0;
            if (op == QLatin1String(">"))
                return cmp > 0;
            if (op == QLatin1String("<="))
                return cmp <= 0;
            return cmp >= 0;
        }
        const double x = num(a), y = num(b);
        if (op == QLatin1String("+"))
            return x + y;
        if (op == QLatin1String("-"))
            return x - y;
        if (op == QLatin1String("*"))
            return x * y;
        return y == 0 ? 0.0 : x / y;
    }
    }
    return {};
}

} // namespace

bool truthy(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return false;
    if (v.typeId() == QMetaType::QString)
        return !v.toString().isEmpty();
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    return v.toDouble() != 0;
}

ReportExpression::ReportExpression() = default;
ReportExpression::~ReportExpression() = default;
ReportExpression::ReportExpression(ReportExpression&&) noexcept = default;
ReportExpression& ReportExpression::operator=(ReportExpression&&) noexcept = default;

bool ReportExpression::parse(const QString& text, QString* error) {
    try {
        Parser p(text);
        root_ = p.parseAll();
        return true;
    } catch (const ParseError& e) {
        root_.reset();
        if (error)
            *error = QStringLiteral("{%1}: %2").arg(text, e.what);
        return false;
    }
}

QVariant ReportExpression::evaluate(const EvalEnv& env, const EvalScope* scope) const {
    return root_ ? evalNode(*root_, env, scope) : QVariant();
}

QString formatReportValue(const QVariant& v, const QString& picture, const QLocale& locale) {
    if (!v.isValid() || v.isNull())
        return QString();
    switch (v.typeId()) {
    case QMetaType::QDateTime:
    case QMetaType::QDate: {
        const QDateTime dt = v.toDateTime();
        if (!dt.isValid())
            return QString();
        return picture.isEmpty() ? locale.toString(dt.date(), QLocale::ShortFormat)
                                 : locale.toString(dt, picture);
    }
    case QMetaType::QString:
        return v.toString();
    default:
        if (isNumeric(v))
            return formatFloat(picture.isEmpty() ? QString::fromLatin1(FloatDisplayFormat)
                                                 : picture,
                               v.toDouble(), locale);
        return v.toString();
    }
}

bool ReportTemplate::parse(const QString& text, QString* error) {
    parts_.clear();
    QString literal;
    int i = 0;
    auto flush = [&] {
        if (!literal.isEmpty())
            parts_.push_back({literal, nullptr, QString()});
        literal.clear();
    };
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == u'{' && i + 1 < text.size() && text[i + 1] == u'{') {
            literal += u'{';
            i += 2;
            continue;
        }
        if (c == u'}' && i + 1 < text.size() && text[i + 1] == u'}') {
            literal += u'}';
            i += 2;
            continue;
        }
        if (c != u'{') {
            literal += c;
            ++i;
            continue;
        }
        // {expression|picture}: the picture begins at the first '|' outside quotes
        int j = i + 1;
        bool quoted = false;
        int bar = -1;
        while (j < text.size() && (quoted || text[j] != u'}')) {
            if (text[j] == u'\'')
                quoted = !quoted;
            else if (text[j] == u'|' && !quoted && bar < 0)
                bar = j;
            ++j;
        }
        if (j >= text.size()) {
            if (error)
                *error = QStringLiteral("\"{\" without \"}\" in \"%1\"").arg(text);
            parts_.clear();
            return false;
        }
        flush();
        const QString body = text.mid(i + 1, (bar < 0 ? j : bar) - i - 1);
        auto expr = std::make_shared<ReportExpression>();
        if (!expr->parse(body, error)) {
            parts_.clear();
            return false;
        }
        parts_.push_back({QString(), expr, bar < 0 ? QString() : text.mid(bar + 1, j - bar - 1)});
        i = j + 1;
    }
    flush();
    return true;
}

QString ReportTemplate::evaluate(const EvalEnv& env, const EvalScope* scope) const {
    QString out;
    for (const Part& p : parts_) {
        if (!p.expr)
            out += p.literal;
        else
            out += formatReportValue(p.expr->evaluate(env, scope), p.picture, env.locale);
    }
    return out;
}

} // namespace zf
