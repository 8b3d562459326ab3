#include "report/reportdefinition.h"

#include <QRegularExpression>

namespace zf {

const char* componentKindName(ComponentKind kind) {
    switch (kind) {
    case ComponentKind::Memo:
        return "memo";
    case ComponentKind::Text:
        return "text";
    case ComponentKind::Section:
        return "section";
    case ComponentKind::Band:
        return "band";
    case ComponentKind::Picture:
        return "picture";
    case ComponentKind::Table:
        return "table";
    case ComponentKind::Grid:
        return "grid";
    case ComponentKind::Row:
        return "row";
    case ComponentKind::Space:
        return "space";
    case ComponentKind::Rule:
        return "rule";
    }
    return "";
}

BandRole ReportComponent::bandRole() const {
    const QString role = attribute(QStringLiteral("role"), QStringLiteral("data"));
    if (role == QLatin1String("header"))
        return BandRole::Header;
    if (role == QLatin1String("footer"))
        return BandRole::Footer;
    return BandRole::Data;
}

ReportPage* ReportDefinition::page(const QString& pageName) const {
    for (const auto& p : pages)
        if (p->name.compare(pageName, Qt::CaseInsensitive) == 0)
            return p.get();
    return nullptr;
}

ReportStyle ReportDefinition::style(const QString& styleName) const {
    auto it = styles.find(styleName);
    if (it != styles.end())
        return *it;
    return styles.value(QStringLiteral("normal"));
}

ReportDefinition* ReportProject::report(const QString& name) const {
    for (const auto& r : reports)
        if (r->name.compare(name, Qt::CaseInsensitive) == 0)
            return r.get();
    return nullptr;
}

namespace {

struct Token {
    QString key;   // attribute name; empty for a word or a string
    QString value; // the word, the string or the attribute's value
    bool quoted = false;
};

struct LineError {
    QString what;
};

QString readQuoted(const QString& line, int& i) {
    // line[i] is the opening quote
    QString out;
    ++i;
    while (i < line.size()) {
        const QChar c = line[i];
        if (c == u'"') {
            ++i;
            return out;
        }
        if (c == u'\\' && i + 1 < line.size()) {
            const QChar e = line[i + 1];
            i += 2;
            if (e == u'n')
                out += u'\n';
            else if (e == u't')
                out += u'\t';
            else
                out += e;
            continue;
        }
        out += c;
        ++i;
    }
    throw LineError{QStringLiteral("a text in quotes is not closed")};
}

std::vector<Token> tokenize(const QString& line) {
    std::vector<Token> tokens;
    int i = 0;
    while (i < line.size()) {
        const QChar c = line[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == u'#') // a comment runs to the end of the line
            break;
        Token t;
        if (c == u'"') {
            t.value = readQuoted(line, i);
            t.quoted = true;
            tokens.push_back(t);
            continue;
        }
        QString word;
        while (i < line.size() && !line[i].isSpace()) {
            if (line[i] == u'=' && t.key.isEmpty() && !word.isEmpty()) {
                t.key = word;
                word.clear();
                ++i;
                if (i < line.size() && line[i] == u'"') {
                    word = readQuoted(line, i);
                    t.quoted = true;
                    break;
                }
                continue;
            }
            word += line[i];
            ++i;
        }
        t.value = word;
        tokens.push_back(t);
    }
    return tokens;
}

bool kindOf(const QString& word, ComponentKind* kind) {
    static const QHash<QString, ComponentKind> kinds = {
        {QStringLiteral("memo"), ComponentKind::Memo},
        {QStringLiteral("text"), ComponentKind::Text},
        {QStringLiteral("section"), ComponentKind::Section},
        {QStringLiteral("band"), ComponentKind::Band},
        {QStringLiteral("picture"), ComponentKind::Picture},
        {QStringLiteral("table"), ComponentKind::Table},
        {QStringLiteral("grid"), ComponentKind::Grid},
        {QStringLiteral("row"), ComponentKind::Row},
        {QStringLiteral("space"), ComponentKind::Space},
        {QStringLiteral("rule"), ComponentKind::Rule},
    };
    auto it = kinds.find(word);
    if (it == kinds.end())
        return false;
    *kind = *it;
    return true;
}

double numberOf(const Token& t) {
    bool ok = false;
    const double d = t.value.toDouble(&ok);
    if (!ok)
        throw LineError{QStringLiteral("%1 takes a number, not \"%2\"").arg(t.key, t.value)};
    return d;
}

bool flagOf(const Token& t) {
    if (t.key.isEmpty() || t.value == QLatin1String("true") || t.value == QLatin1String("yes"))
        return true;
    if (t.value == QLatin1String("false") || t.value == QLatin1String("no"))
        return false;
    throw LineError{QStringLiteral("%1 takes true or false").arg(t.key)};
}

QColor colorOf(const Token& t) {
    const QColor c = QColor::fromString(t.value);
    if (!c.isValid())
        throw LineError{QStringLiteral("%1 takes a colour such as #2b3a42").arg(t.key)};
    return c;
}

QString alignOf(const Token& t) {
    if (t.value != QLatin1String("left") && t.value != QLatin1String("center") &&
        t.value != QLatin1String("right"))
        throw LineError{QStringLiteral("align takes left, center or right")};
    return t.value;
}

ReportStyle parseStyle(const std::vector<Token>& tokens, size_t from, const ReportStyle& base) {
    ReportStyle s = base;
    for (size_t i = from; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        const QString key = t.key.isEmpty() ? t.value : t.key;
        if (key == QLatin1String("size"))
            s.size = numberOf(t);
        else if (key == QLatin1String("bold"))
            s.bold = flagOf(t);
        else if (key == QLatin1String("italic"))
            s.italic = flagOf(t);
        else if (key == QLatin1String("keep"))
            s.keepWithNext = flagOf(t);
        else if (key == QLatin1String("color"))
            s.color = colorOf(t);
        else if (key == QLatin1String("background"))
            s.background = colorOf(t);
        else if (key == QLatin1String("before"))
            s.spaceBefore = numberOf(t);
        else if (key == QLatin1String("after"))
            s.spaceAfter = numberOf(t);
        else if (key == QLatin1String("align"))
            s.align = alignOf(t);
        else
            throw LineError{QStringLiteral("a style has no setting \"%1\"").arg(key)};
    }
    return s;
}

// Which kinds may hold which.
bool mayHold(ComponentKind parent, ComponentKind child) {
    switch (parent) {
    case ComponentKind::Table:
        return child == ComponentKind::Band || child == ComponentKind::Row;
    case ComponentKind::Grid:
        return child == ComponentKind::Row;
    case ComponentKind::Row:
    case ComponentKind::Band:
        return child == ComponentKind::Text || child == ComponentKind::Memo;
    case ComponentKind::Section:
        return child != ComponentKind::Row && child != ComponentKind::Band;
    default:
        return false;
    }
}

bool isContainer(ComponentKind kind) {
    return kind == ComponentKind::Section || kind == ComponentKind::Table ||
           kind == ComponentKind::Grid || kind == ComponentKind::Row || kind == ComponentKind::Band;
}

std::unique_ptr<ReportComponent> parseComponent(ComponentKind kind,
                                                const std::vector<Token>& tokens, int line) {
    auto c = std::make_unique<ReportComponent>();
    c->kind = kind;
    c->line = line;
    size_t i = 1;
    if (i < tokens.size() && tokens[i].key.isEmpty() && !tokens[i].quoted) {
        c->name = tokens[i].value;
        ++i;
    }
    bool haveContent = false;
    for (; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (!t.key.isEmpty()) {
            c->attributes.insert(t.key, t.value);
        } else if (t.quoted && !haveContent) {
            c->content = t.value;
            haveContent = true;
        } else {
            throw LineError{QStringLiteral("unexpected \"%1\"").arg(t.value)};
        }
    }
    if (kind == ComponentKind::Band) {
        const QString role = c->attribute(QStringLiteral("role"), QStringLiteral("data"));
        if (role != QLatin1String("header") && role != QLatin1String("data") &&
            role != QLatin1String("footer"))
            throw LineError{QStringLiteral("a band's role is header, data or footer")};
        if (role == QLatin1String("data") && c->attribute(QStringLiteral("source")).isEmpty())
            throw LineError{QStringLiteral("a data band needs source=CONNECTION")};
    }
    if (kind == ComponentKind::Picture && c->attributes.contains(QStringLiteral("file")))
        c->pictureFile = c->attribute(QStringLiteral("file"));
    if (c->attribute(QStringLiteral("visible")) == QLatin1String("false"))
        c->visible = false;
    return c;
}

} // namespace

bool parseReportProject(const QString& text, ReportProject& project, QString* error) {
    project.reports.clear();
    struct Frame {
        int indent;
        enum { Report, Page, Component } type;
        ReportDefinition* report;
        ReportPage* page;
        ReportComponent* component;
    };
    std::vector<Frame> stack;
    const QStringList lines = text.split(u'\n');
    int lineNo = 0;
    try {
        for (QString line : lines) {
            ++lineNo;
            if (line.endsWith(u'\r'))
                line.chop(1);
            int indent = 0;
            while (indent < line.size() && (line[indent] == u' ' || line[indent] == u'\t')) {
                if (line[indent] == u'\t')
                    throw LineError{QStringLiteral("indent with blanks, not tabs")};
                ++indent;
            }
            const std::vector<Token> tokens = tokenize(line);
            if (tokens.empty())
                continue;
            const Token& head = tokens[0];
            if (!head.key.isEmpty() || head.quoted)
                throw LineError{QStringLiteral("a line begins with a keyword")};
            const QString word = head.value;
            while (!stack.empty() && stack.back().indent >= indent)
                stack.pop_back();

            if (stack.empty()) {
                if (word != QLatin1String("report") || tokens.size() != 2)
                    throw LineError{QStringLiteral("expected \"report NAME\"")};
                if (project.report(tokens[1].value))
                    throw LineError{
                        QStringLiteral("report %1 is defined twice").arg(tokens[1].value)};
                auto r = std::make_unique<ReportDefinition>();
                r->name = tokens[1].value;
                r->styles.insert(QStringLiteral("normal"), ReportStyle());
                stack.push_back({indent, Frame::Report, r.get(), nullptr, nullptr});
                project.reports.push_back(std::move(r));
                continue;
            }
            Frame& parent = stack.back();
            if (parent.type == Frame::Report) {
                ReportDefinition& r = *parent.report;
                auto one = [&]() -> QString {
                    if (tokens.size() != 2)
                        throw LineError{QStringLiteral("%1 takes one value").arg(word)};
                    return tokens[1].value;
                };
                if (word == QLatin1String("language")) {
                    r.language = one();
                } else if (word == QLatin1String("locale")) {
                    r.locale = one();
                } else if (word == QLatin1String("font")) {
                    r.fonts.clear();
                    for (size_t i = 1; i < tokens.size(); ++i)
                        r.fonts << tokens[i].value;
                    if (r.fonts.isEmpty())
                        throw LineError{QStringLiteral("font names at least one family")};
                } else if (word == QLatin1String("style")) {
                    if (tokens.size() < 2 || !tokens[1].key.isEmpty())
                        throw LineError{QStringLiteral("expected \"style NAME settings...\"")};
                    r.styles.insert(
                        tokens[1].value,
                        parseStyle(tokens, 2, r.styles.value(QStringLiteral("normal"))));
                } else if (word == QLatin1String("header") || word == QLatin1String("footer")) {
                    const bool header = word == QLatin1String("header");
                    for (size_t i = 1; i < tokens.size(); ++i) {
                        const Token& t = tokens[i];
                        if (t.key == QLatin1String("left"))
                            (header ? r.headerLeft : r.footerLeft) = t.value;
                        else if (t.key == QLatin1String("right"))
                            (header ? r.headerRight : r.footerRight) = t.value;
                        else
                            throw LineError{
                                QStringLiteral("%1 takes left=\"...\" and right=\"...\"")
                                    .arg(word)};
                    }
                } else if (word == QLatin1String("page")) {
                    if (tokens.size() != 2)
                        throw LineError{QStringLiteral("expected \"page NAME\"")};
                    if (r.page(tokens[1].value))
                        throw LineError{
                            QStringLiteral("page %1 is defined twice").arg(tokens[1].value)};
                    auto p = std::make_unique<ReportPage>();
                    p->name = tokens[1].value;
                    stack.push_back({indent, Frame::Page, &r, p.get(), nullptr});
                    r.pages.push_back(std::move(p));
                } else {
                    throw LineError{QStringLiteral("a report has no setting \"%1\"").arg(word)};
                }
                continue;
            }
            ComponentKind kind;
            if (!kindOf(word, &kind))
                throw LineError{QStringLiteral("unknown component kind \"%1\"").arg(word)};
            auto c = parseComponent(kind, tokens, lineNo);
            ReportComponent* raw = c.get();
            if (parent.type == Frame::Page) {
                if (kind == ComponentKind::Row || kind == ComponentKind::Band)
                    throw LineError{QStringLiteral("a %1 belongs in a %2")
                                        .arg(word, kind == ComponentKind::Row
                                                       ? QStringLiteral("grid")
                                                       : QStringLiteral("table"))};
                parent.page->components.push_back(std::move(c));
            } else {
                ReportComponent* holder = parent.component;
                if (!mayHold(holder->kind, kind))
                    throw LineError{QStringLiteral("a %1 cannot hold a %2")
                                        .arg(QLatin1String(componentKindName(holder->kind)), word)};
                holder->children.push_back(std::move(c));
            }
            if (isContainer(kind))
                stack.push_back({indent, Frame::Component, parent.report, parent.page, raw});
        }
    } catch (const LineError& e) {
        if (error)
            *error = QStringLiteral("line %1: %2").arg(lineNo).arg(e.what);
        project.reports.clear();
        return false;
    }
    if (project.reports.empty()) {
        if (error)
            *error = QStringLiteral("the file defines no report");
        return false;
    }
    return true;
}

} // namespace zf
