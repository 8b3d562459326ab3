#include "report/reportengine.h"

#include "i18n/language.h"
#include "i18n/languagetable.h"
#include "i18n/texts.h"
#include "storage/dataset.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zf {

int reportLanguageBase(const QString& code) {
    const LanguageInfo* row = languageOfCode(code);
    return row ? row->base : BaseEN;
}

bool ReportEngine::loadProject(const QString& file) {
    closeProject();
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        lastError_ = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file), f.errorString());
        return false;
    }
    const QString text = QString::fromUtf8(f.readAll());
    QString error;
    if (!parseReportProject(text, project_, &error)) {
        lastError_ = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file), error);
        return false;
    }
    project_.file = file;
    open_ = true;
    lastError_.clear();
    return true;
}

void ReportEngine::closeProject() {
    currency_.clear();
    project_.reports.clear();
    project_.file.clear();
    selected_ = nullptr;
    open_ = false;
}

QStringList ReportEngine::reportNames() const {
    QStringList names;
    for (const auto& r : project_.reports)
        names << r->name;
    return names;
}

bool ReportEngine::selectReport(const QString& name) {
    ReportDefinition* r = project_.report(name);
    if (!r)
        return false;
    selected_ = r;
    return true;
}

ReportPage* ReportEngine::page(const QString& pageName) const {
    if (!selected_)
        return nullptr;
    QString name = pageName;
    const int dot = name.lastIndexOf(u'.');
    if (dot >= 0) {
        if (name.left(dot).compare(selected_->name, Qt::CaseInsensitive) != 0)
            return nullptr;
        name = name.mid(dot + 1);
    }
    return selected_->page(name);
}

namespace {

ReportComponent* findIn(const std::vector<std::unique_ptr<ReportComponent>>& list,
                        const QString& name) {
    for (const auto& c : list) {
        if (c->name.compare(name, Qt::CaseInsensitive) == 0)
            return c.get();
        if (ReportComponent* inner = findIn(c->children, name))
            return inner;
    }
    return nullptr;
}

} // namespace

ReportComponent* ReportEngine::findComponent(const QString& pageName, const QString& name) const {
    ReportPage* p = page(pageName);
    return p ? findIn(p->components, name) : nullptr;
}

void ReportEngine::setText(ReportComponent& component, const QString& text) {
    component.content = text;
    component.literal = true;
}

void ReportEngine::setConnection(const QString& name, Dataset* dataset) {
    for (auto& c : connections_)
        if (c.first.compare(name, Qt::CaseInsensitive) == 0) {
            c.second = dataset;
            return;
        }
    connections_.emplace_back(name, dataset);
}

ReportData ReportEngine::captureData() const {
    ReportData data;
    for (const auto& [name, ds] : connections_)
        if (ds)
            data.capture(name, *ds);
    return data;
}

// --- resolving ---

namespace {

class Resolver {
public:
    Resolver(const ReportDefinition& def, const ReportData& data, const QString& currency,
             QStringList* warnings)
        : def_(def) {
        env_.data = &data;
        env_.languageBase = reportLanguageBase(def.language);
        env_.locale = QLocale(def.locale);
        env_.currency = currency.isEmpty() ? CurrencyName(env_.languageBase) : currency;
        env_.warnings = warnings;
        warnings_ = warnings;
    }

    QString text(const ReportComponent& c, const EvalScope* scope) {
        if (c.literal)
            return c.content;
        return evaluate(c.content, scope, c.line);
    }

    QString evaluate(const QString& source, const EvalScope* scope, int line) {
        ReportTemplate t;
        QString error;
        if (!t.parse(source, &error)) {
            warn(QStringLiteral("line %1: %2").arg(line).arg(error));
            return source;
        }
        return t.evaluate(env_, scope);
    }

    void blocks(const std::vector<std::unique_ptr<ReportComponent>>& list,
                std::vector<ResolvedBlock>& out) {
        for (const auto& c : list)
            block(*c, out);
    }

    const EvalEnv& env() const { return env_; }

private:
    void warn(const QString& what) {
        if (warnings_ && !warnings_->contains(what))
            warnings_->append(what);
    }

    ReportStyle styleOf(const ReportComponent& c, const QString& fallback) const {
        ReportStyle s = def_.style(c.attribute(QStringLiteral("style"), fallback));
        const QString align = c.attribute(QStringLiteral("align"));
        if (!align.isEmpty())
            s.align = align;
        return s;
    }

    // A component is printed when it is visible and its condition, if any, holds.
    bool shown(const ReportComponent& c, const EvalScope* scope) {
        if (!c.visible)
            return false;
        const QString condition = c.attribute(QStringLiteral("when"));
        if (condition.isEmpty())
            return true;
        ReportExpression e;
        QString error;
        if (!e.parse(condition, &error)) {
            warn(QStringLiteral("line %1: %2").arg(c.line).arg(error));
            return true;
        }
        return truthy(e.evaluate(env_, scope));
    }

    static QString normalizeBreaks(QString text) {
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(u'\r', u'\n');
        return text;
    }

    void block(const ReportComponent& c, std::vector<ResolvedBlock>& out) {
        if (!shown(c, nullptr))
            return;
        switch (c.kind) {
        case ComponentKind::Memo:
        case ComponentKind::Text: {
            ResolvedBlock b;
            b.type = ResolvedBlock::Paragraph;
            b.style = styleOf(c, QStringLiteral("normal"));
            b.text = normalizeBreaks(text(c, nullptr));
            if (c.kind == ComponentKind::Text)
                b.text.replace(u'\n', u' ');
            // An empty paragraph would only leave a gap that nobody asked for.
            if (b.text.trimmed().isEmpty())
                return;
            out.push_back(std::move(b));
            return;
        }
        case ComponentKind::Section:
            blocks(c.children, out);
            return;
        case ComponentKind::Picture: {
            const QString file = c.pictureFile;
            if (file.isEmpty() || !QFileInfo::exists(file))
                return;
            ResolvedBlock b;
            b.type = ResolvedBlock::Picture;
            b.file = file;
            b.width = c.attribute(QStringLiteral("width"), QStringLiteral("170")).toDouble();
            b.height = c.attribute(QStringLiteral("height"), QStringLiteral("100")).toDouble();
            b.style = styleOf(c, QStringLiteral("normal"));
            if (c.attribute(QStringLiteral("align")).isEmpty())
                b.style.align = QStringLiteral("center");
            out.push_back(std::move(b));
            return;
        }
        case ComponentKind::Space: {
            ResolvedBlock b;
            b.type = ResolvedBlock::Space;
            b.height = c.attribute(QStringLiteral("height"), QStringLiteral("4")).toDouble();
            out.push_back(std::move(b));
            return;
        }
        case ComponentKind::Rule: {
            ResolvedBlock b;
            b.type = ResolvedBlock::Rule;
            b.style = styleOf(c, QStringLiteral("normal"));
            out.push_back(std::move(b));
            return;
        }
        case ComponentKind::Table:
        case ComponentKind::Grid:
            table(c, out);
            return;
        case ComponentKind::Row:
        case ComponentKind::Band:
            return; // only inside a grid or a table
        }
    }

    void columns(const ReportComponent& c, ResolvedTable& t) {
        const QStringList specs =
            c.attribute(QStringLiteral("columns")).split(u' ', Qt::SkipEmptyParts);
        for (const QString& column : specs) {
            const QStringList parts = column.split(u':');
            bool ok = false;
            const double w = parts[0].toDouble(&ok);
            if (!ok || w <= 0) {
                warn(QStringLiteral("line %1: a column is WEIGHT or WEIGHT:l|c|r, not \"%2\"")
                         .arg(c.line)
                         .arg(column));
                continue;
            }
            t.weights.push_back(w);
            const QString a = parts.value(1);
            t.aligns << (a == QLatin1String("r")   ? QStringLiteral("right")
                         : a == QLatin1String("c") ? QStringLiteral("center")
                                                   : QStringLiteral("left"));
        }
    }

    // One row of cells from a row or band; false when all its cells are hidden.
    bool row(const ReportComponent& r, const ResolvedTable& t, const QString& defaultStyle,
             const EvalScope* scope, ResolvedRow& out) {
        const QString rowStyle = r.attribute(QStringLiteral("style"), defaultStyle);
        bool any = false;
        size_t column = 0;
        for (const auto& cell : r.children) {
            ResolvedCell rc;
            rc.span =
                std::max(1, cell->attribute(QStringLiteral("span"), QStringLiteral("1")).toInt());
            rc.style = def_.style(cell->attribute(QStringLiteral("style"), rowStyle));
            QString align = cell->attribute(QStringLiteral("align"));
            if (align.isEmpty())
                align = column < size_t(t.aligns.size()) ? t.aligns[qsizetype(column)]
                                                         : QStringLiteral("left");
            rc.style.align = align;
            if (shown(*cell, scope)) {
                any = true;
                rc.text = normalizeBreaks(text(*cell, scope));
            }
            column += size_t(rc.span);
            out.cells.push_back(std::move(rc));
        }
        return any;
    }

    void table(const ReportComponent& c, std::vector<ResolvedBlock>& out) {
        ResolvedBlock b;
        b.type = ResolvedBlock::Table;
        ResolvedTable& t = b.table;
        t.ruled = c.kind == ComponentKind::Table;
        columns(c, t);
        if (t.weights.empty())
            return;
        const QString tableStyle = c.attribute(
            QStringLiteral("style"), t.ruled ? QStringLiteral("cell") : QStringLiteral("normal"));
        bool dataBands = false, dataShown = false;
        for (const auto& part : c.children) {
            const bool isData =
                part->kind == ComponentKind::Band && part->bandRole() == BandRole::Data;
            dataBands = dataBands || isData;
            if (!shown(*part, nullptr))
                continue;
            dataShown = dataShown || isData;
            if (part->kind == ComponentKind::Row) {
                ResolvedRow r;
                if (row(*part, t, tableStyle, nullptr, r))
                    t.body.push_back(std::move(r));
                continue;
            }
            const BandRole role = part->bandRole();
            if (role != BandRole::Data) {
                ResolvedRow r;
                const QString style = role == BandRole::Header ? QStringLiteral("th") : tableStyle;
                if (row(*part, t, style, nullptr, r))
                    (role == BandRole::Header ? t.header : t.footer).push_back(std::move(r));
                continue;
            }
            dataRows(*part, t, tableStyle);
        }
        // A table of records is left out with its headings when none of its data
        // bands is shown.
        if (dataBands && !dataShown)
            return;
        if (t.body.empty() && t.header.empty() && t.footer.empty())
            return;
        out.push_back(std::move(b));
    }

    void dataRows(const ReportComponent& band, ResolvedTable& t, const QString& tableStyle) {
        const QString source = band.attribute(QStringLiteral("source"));
        const ReportTable* data = env_.data->table(source);
        if (!data) {
            warn(QStringLiteral("line %1: unknown connection %2").arg(band.line).arg(source));
            return;
        }
        ReportExpression where;
        const QString condition = band.attribute(QStringLiteral("where"));
        QString error;
        if (!condition.isEmpty() && !where.parse(condition, &error))
            warn(QStringLiteral("line %1: %2").arg(band.line).arg(error));
        // The cells' templates are parsed once for all records.
        std::vector<ReportTemplate> templates(band.children.size());
        for (size_t i = 0; i < band.children.size(); ++i) {
            const ReportComponent& cell = *band.children[i];
            if (!cell.literal && !templates[i].parse(cell.content, &error))
                warn(QStringLiteral("line %1: %2").arg(cell.line).arg(error));
        }
        const QString rowStyle = band.attribute(QStringLiteral("style"), tableStyle);
        const size_t before = t.body.size();
        for (size_t r = 0; r < data->rows.size(); ++r) {
            EvalScope scope{source, data, int(r), nullptr};
            if (where.valid() && !truthy(where.evaluate(env_, &scope)))
                continue;
            ResolvedRow out;
            size_t column = 0;
            for (size_t i = 0; i < band.children.size(); ++i) {
                const ReportComponent& cell = *band.children[i];
                ResolvedCell rc;
                rc.span = std::max(
                    1, cell.attribute(QStringLiteral("span"), QStringLiteral("1")).toInt());
                rc.style = def_.style(cell.attribute(QStringLiteral("style"), rowStyle));
                QString align = cell.attribute(QStringLiteral("align"));
                if (align.isEmpty())
                    align = column < size_t(t.aligns.size()) ? t.aligns[qsizetype(column)]
                                                             : QStringLiteral("left");
                rc.style.align = align;
                if (cell.visible &&
                    (cell.attribute(QStringLiteral("when")).isEmpty() || shown(cell, &scope)))
                    rc.text = normalizeBreaks(cell.literal ? cell.content
                                                           : templates[i].evaluate(env_, &scope));
                column += size_t(rc.span);
                out.cells.push_back(std::move(rc));
            }
            t.body.push_back(std::move(out));
        }
        const QString empty = band.attribute(QStringLiteral("empty"));
        if (t.body.size() == before && !empty.isEmpty()) {
            ResolvedRow out;
            ResolvedCell rc;
            rc.span = int(t.weights.size());
            rc.style = def_.style(rowStyle);
            rc.style.italic = true;
            rc.text = evaluate(empty, nullptr, band.line);
            out.cells.push_back(std::move(rc));
            t.body.push_back(std::move(out));
        }
    }

    const ReportDefinition& def_;
    EvalEnv env_;
    QStringList* warnings_ = nullptr;
};

} // namespace

ResolvedReport ReportEngine::resolve(const ReportData& data, QStringList* warnings) const {
    ResolvedReport out;
    if (!selected_)
        return out;
    const ReportDefinition& def = *selected_;
    Resolver r(def, data, currency_, warnings);
    out.name = def.name;
    out.language = def.language;
    out.locale = QLocale(def.locale);
    out.fonts = def.fonts;
    out.headerStyle = def.style(QStringLiteral("header"));
    out.footerStyle = def.style(QStringLiteral("footer"));
    out.headerLeft = r.evaluate(def.headerLeft, nullptr, 0);
    out.headerRight = r.evaluate(def.headerRight, nullptr, 0);
    out.footerLeft = r.evaluate(def.footerLeft, nullptr, 0);
    out.footerRight = r.evaluate(def.footerRight, nullptr, 0);
    out.title = r.evaluate(QStringLiteral("{ProjectName_text}"), nullptr, 0);
    for (const auto& p : def.pages) {
        ResolvedPage page;
        page.name = p->name;
        r.blocks(p->components, page.blocks);
        out.pages.push_back(std::move(page));
    }
    return out;
}

} // namespace zf
