#include "storage/filter.h"

#include "storage/sqlite.h"

namespace zf {

namespace {

struct Token {
    enum Kind { End, Ident, String, Number, Op, LParen, RParen, Keyword } kind = End;
    QString text;
};

class Parser {
public:
    Parser(const QString& expr, const QStringList& columns) : src_(expr), columns_(columns) {
        advance();
    }

    SqlCondition parse() {
        SqlCondition c;
        c.sql = orExpr(c.params);
        if (tok_.kind != Token::End)
            error(QStringLiteral("unexpected '%1'").arg(tok_.text));
        return c;
    }

private:
    [[noreturn]] void error(const QString& what) const {
        throw DbError(QStringLiteral("Invalid filter expression \"%1\": %2.").arg(src_, what));
    }

    bool isKeyword(const char* kw) const {
        return tok_.kind == Token::Keyword &&
               tok_.text.compare(QLatin1String(kw), Qt::CaseInsensitive) == 0;
    }

    void advance() {
        while (pos_ < src_.size() && src_[pos_].isSpace())
            ++pos_;
        tok_ = Token();
        if (pos_ >= src_.size())
            return;
        const QChar c = src_[pos_];
        if (c == QLatin1Char('(')) {
            tok_ = {Token::LParen, QStringLiteral("(")};
            ++pos_;
        } else if (c == QLatin1Char(')')) {
            tok_ = {Token::RParen, QStringLiteral(")")};
            ++pos_;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const QChar q = c;
            QString s;
            ++pos_;
            for (;;) {
                if (pos_ >= src_.size())
                    error(QStringLiteral("unterminated text"));
                if (src_[pos_] == q) {
                    if (pos_ + 1 < src_.size() && src_[pos_ + 1] == q) {
                        s += q;
                        pos_ += 2;
                        continue;
                    }
                    ++pos_;
                    break;
                }
                s += src_[pos_++];
            }
            tok_ = {Token::String, s};
        } else if (c == QLatin1Char('[')) {
            const qsizetype end = src_.indexOf(QLatin1Char(']'), pos_);
            if (end < 0)
                error(QStringLiteral("unterminated column name"));
            tok_ = {Token::Ident, src_.mid(pos_ + 1, end - pos_ - 1)};
            pos_ = end + 1;
        } else if (c.isDigit() ||
                   ((c == QLatin1Char('-') || c == QLatin1Char('.')) && pos_ + 1 < src_.size() &&
                    (src_[pos_ + 1].isDigit() || src_[pos_ + 1] == QLatin1Char('.')))) {
            const qsizetype start = pos_++;
            while (pos_ < src_.size() &&
                   (src_[pos_].isDigit() || src_[pos_] == QLatin1Char('.') ||
                    src_[pos_] == QLatin1Char('e') || src_[pos_] == QLatin1Char('E')))
                ++pos_;
            tok_ = {Token::Number, src_.mid(start, pos_ - start)};
        } else if (c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>')) {
            QString op(c);
            ++pos_;
            if (pos_ < src_.size() && (src_[pos_] == QLatin1Char('=') ||
                                       (c == QLatin1Char('<') && src_[pos_] == QLatin1Char('>')))) {
                op += src_[pos_++];
            }
            tok_ = {Token::Op, op};
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            const qsizetype start = pos_;
            while (pos_ < src_.size() &&
                   (src_[pos_].isLetterOrNumber() || src_[pos_] == QLatin1Char('_')))
                ++pos_;
            const QString word = src_.mid(start, pos_ - start);
            static const QStringList keywords = {QStringLiteral("AND"),  QStringLiteral("OR"),
                                                 QStringLiteral("NOT"),  QStringLiteral("LIKE"),
                                                 QStringLiteral("IS"),   QStringLiteral("NULL"),
                                                 QStringLiteral("TRUE"), QStringLiteral("FALSE")};
            tok_ = {keywords.contains(word, Qt::CaseInsensitive) ? Token::Keyword : Token::Ident,
                    word};
        } else {
            error(QStringLiteral("unexpected character '%1'").arg(c));
        }
    }

    QString orExpr(QVariantList& params) {
        QString s = andExpr(params);
        while (isKeyword("OR")) {
            advance();
            s = QStringLiteral("(%1 OR %2)").arg(s, andExpr(params));
        }
        return s;
    }

    QString andExpr(QVariantList& params) {
        QString s = unary(params);
        while (isKeyword("AND")) {
            advance();
            s = QStringLiteral("(%1 AND %2)").arg(s, unary(params));
        }
        return s;
    }

    QString unary(QVariantList& params) {
        if (isKeyword("NOT")) {
            advance();
            return QStringLiteral("(NOT %1)").arg(unary(params));
        }
        if (tok_.kind == Token::LParen) {
            advance();
            QString inner = orExpr(params);
            if (tok_.kind != Token::RParen)
                error(QStringLiteral("missing ')'"));
            advance();
            return inner;
        }
        return comparison(params);
    }

    QString column() {
        if (tok_.kind != Token::Ident)
            error(tok_.kind == Token::End
                      ? QStringLiteral("a column name is missing")
                      : QStringLiteral("'%1' is not a column name").arg(tok_.text));
        QString name;
        for (const QString& c : columns_)
            if (c.compare(tok_.text, Qt::CaseInsensitive) == 0)
                name = c;
        if (name.isEmpty())
            error(QStringLiteral("unknown column '%1'").arg(tok_.text));
        advance();
        return Database::quoteIdentifier(name);
    }

    // A literal value; returns true when it is a text.
    bool value(QVariantList& params) {
        if (tok_.kind == Token::String) {
            params << tok_.text;
            advance();
            return true;
        }
        if (tok_.kind == Token::Number) {
            bool ok = false;
            const qlonglong i = tok_.text.toLongLong(&ok);
            if (ok) {
                params << QVariant(i);
            } else {
                const double d = tok_.text.toDouble(&ok);
                if (!ok)
                    error(QStringLiteral("'%1' is not a number").arg(tok_.text));
                params << QVariant(d);
            }
            advance();
            return false;
        }
        if (isKeyword("TRUE") || isKeyword("FALSE")) {
            params << QVariant(isKeyword("TRUE") ? 1 : 0);
            advance();
            return false;
        }
        error(tok_.kind == Token::End ? QStringLiteral("a value is missing")
                                      : QStringLiteral("'%1' is not a value").arg(tok_.text));
    }

    QString comparison(QVariantList& params) {
        const QString col = column();
        if (isKeyword("IS")) {
            advance();
            bool negate = false;
            if (isKeyword("NOT")) {
                negate = true;
                advance();
            }
            if (!isKeyword("NULL"))
                error(QStringLiteral("NULL expected after IS"));
            advance();
            return QStringLiteral("(%1 IS %2NULL)")
                .arg(col, negate ? QStringLiteral("NOT ") : QString());
        }
        bool negateLike = false;
        if (isKeyword("NOT")) {
            advance();
            negateLike = true;
            if (!isKeyword("LIKE"))
                error(QStringLiteral("LIKE expected after NOT"));
        }
        if (isKeyword("LIKE")) {
            advance();
            if (tok_.kind != Token::String)
                error(QStringLiteral("LIKE needs a text in quotes"));
            value(params);
            return QStringLiteral("(%1zf_like(?, %2))")
                .arg(negateLike ? QStringLiteral("NOT ") : QString(), col);
        }
        if (tok_.kind != Token::Op)
            error(tok_.kind == Token::End
                      ? QStringLiteral("an operator is missing")
                      : QStringLiteral("'%1' is not an operator").arg(tok_.text));
        const QString op = tok_.text;
        advance();
        const bool text = value(params);
        return QStringLiteral("(%1 %2 ?%3)")
            .arg(col, op, text ? QStringLiteral(" COLLATE ZFNOCASE") : QString());
    }

    QString src_;
    QStringList columns_;
    qsizetype pos_ = 0;
    Token tok_;
};

} // namespace

SqlCondition translateFilter(const QString& expression, const QStringList& columns) {
    if (expression.trimmed().isEmpty())
        return {};
    return Parser(expression, columns).parse();
}

} // namespace zf
