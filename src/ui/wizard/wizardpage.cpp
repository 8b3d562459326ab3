#include "wizard/wizardpage.h"

#include "binding/datasetgrid.h"
#include "binding/datasetmodel.h"
#include "building/buildingmodel.h"
#include "common/numberformat.h"
#include "helphints.h"
#include "i18n/texts.h"
#include "wizard/tfrmzinput.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace zf {

namespace {

// Room for the largest numbers the designs hold, shown with separators.
int numberWidth(const QWidget* w) {
    return w->fontMetrics().horizontalAdvance(QStringLiteral("-999,999.99")) +
           w->fontMetrics().averageCharWidth() * 3;
}

constexpr int memoLines = 3;

} // namespace

template <class T> T* WizardForm::make(QWidget* parent, const char* name, int textId) {
    auto* control = new T(parent);
    prepare(control, name, textId);
    return control;
}

template QLabel* WizardForm::make<QLabel>(QWidget*, const char*, int);
template QGroupBox* WizardForm::make<QGroupBox>(QWidget*, const char*, int);
template QLineEdit* WizardForm::make<QLineEdit>(QWidget*, const char*, int);
template QPlainTextEdit* WizardForm::make<QPlainTextEdit>(QWidget*, const char*, int);
template QComboBox* WizardForm::make<QComboBox>(QWidget*, const char*, int);
template QCheckBox* WizardForm::make<QCheckBox>(QWidget*, const char*, int);
template QRadioButton* WizardForm::make<QRadioButton>(QWidget*, const char*, int);
template QPushButton* WizardForm::make<QPushButton>(QWidget*, const char*, int);
template QToolButton* WizardForm::make<QToolButton>(QWidget*, const char*, int);
template QDateTimeEdit* WizardForm::make<QDateTimeEdit>(QWidget*, const char*, int);
template DatasetGrid* WizardForm::make<DatasetGrid>(QWidget*, const char*, int);

void WizardForm::prepare(QWidget* control, const char* name, int textId) {
    control->setObjectName(QLatin1String(name));
    if (textId)
        texts_.push_back({control, textId});
    if (auto* e = qobject_cast<QLineEdit*>(control)) {
        e->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        FieldAccess a = editAccess(e->objectName());
        if (isNumeric(a.kind)) {
            e->setMinimumWidth(numberWidth(e));
            e->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        }
        bind(e, std::move(a));
    } else if (auto* m = qobject_cast<QPlainTextEdit*>(control)) {
        m->setTabChangesFocus(true);
        m->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        setLines(m, memoLines);
        bind(m, editAccess(m->objectName()));
    } else if (auto* c = qobject_cast<QComboBox*>(control)) {
        // The lists of the language are as wide as their longest entry in any
        // language (the window's size is measured over all of them).
        c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    } else if (auto* t = qobject_cast<QToolButton*>(control)) {
        t->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        t->setAutoRaise(true);
        t->setFocusPolicy(Qt::StrongFocus);
    } else if (auto* g = qobject_cast<DatasetGrid*>(control)) {
        g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        g->setEnterActsAsTab(true);
        g->setTabKeyNavigation(true);
    }
}

void WizardForm::setLines(QPlainTextEdit* memo, int lines) {
    const int frame = 2 * (memo->frameWidth() + int(memo->document()->documentMargin()));
    memo->setFixedHeight(memo->fontMetrics().lineSpacing() * lines + frame + 2);
}

void WizardForm::bind(QWidget* control, FieldAccess access) {
    frame_.binder().bind(control, std::move(access));
    // A memo takes Enter and the arrows as its own.
    if (!qobject_cast<QPlainTextEdit*>(control))
        frame_.watchKeys(control);
}

QLabel* WizardForm::header(QWidget* parent, const char* name, int textId) {
    auto* l = make<QLabel>(parent, name, textId);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->setWordWrap(true);
    // The header takes the page's width and as many lines as its text needs.
    l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return l;
}

QLabel* WizardForm::value(QWidget* parent, const char* name, const QString& field, bool number,
                          QLabel* caption) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    l->setMinimumWidth(numberWidth(l));
    values_.push_back({l, field, number, caption});
    return l;
}

void WizardForm::row(QGridLayout* grid, QLabel* label, QWidget* control, QWidget* after) {
    const int row = grid->rowCount();
    // A memo's label stands beside its first line.
    const bool tall = qobject_cast<QPlainTextEdit*>(control) != nullptr;
    grid->addWidget(label, row, 0, tall ? Qt::AlignTop | Qt::AlignLeft : Qt::Alignment());
    grid->addWidget(control, row, 1);
    if (after)
        grid->addWidget(after, row, 2);
    label->setBuddy(control);
}

void WizardForm::valueRow(QGridLayout* grid, QWidget* parent, const char* captionName, int textId,
                          const char* name, const char* field) {
    QLabel* caption = make<QLabel>(parent, captionName, textId);
    const int row = grid->rowCount();
    grid->addWidget(caption, row, 0);
    grid->addWidget(value(parent, name, QLatin1String(field), true, caption), row, 1);
}

FieldAccess WizardForm::editAccess(const QString& name) {
    const WizardEdit* e = wizardEdit(name);
    FieldAccess a;
    a.kind = e ? e->kind : EditKind::Text;
    const QString field = e ? QLatin1String(e->field) : QString();
    Dataset& p = frame_.projectRecord();
    a.read = [&p, field]() -> QVariant {
        if (!p.active() || p.isEmpty() || !p.hasField(field))
            return {};
        return p.value(field);
    };
    TfrmZInput& frame = frame_;
    a.write = [&frame, name](const QVariant& v, QString* error) {
        // An edit left because the wizard closed (Cancel, Close of the project)
        // writes nothing: what it held was not entered.
        if (!frame.wizard().visible())
            return true;
        return frame.wizard().enterEdit(name, v, error);
    };
    a.enabled = [&frame, &p, name] { return p.active() && frame.wizard().editEnabled(name); };
    if (!isNumeric(a.kind))
        a.maxLength = [&p, field] { return FieldBinder::textLength(p, field); };
    a.colour = [&frame, name](bool focused) { return frame.wizard().editColour(name, focused); };
    if (isNumeric(a.kind))
        a.typedColour = [&frame, name](const QVariant& typed) {
            return frame.wizard().editColourOfValue(name, typed);
        };
    return a;
}

void WizardForm::layOutGrid(DatasetGrid* view, int firstTitle, bool surfaces, int fitted, int rows,
                            const QFont& font) {
    DatasetModel* model = view->datasetModel();
    view->verticalHeader()->setVisible(false);
    // The titles in the window's font, as the cells.
    view->horizontalHeader()->setFont(font);
    const QFontMetrics fm = view->fontMetrics();
    const int cellMargin =
        2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) +
        fm.averageCharWidth();
    if (surfaces)
        model->setColumnField(0, QStringLiteral("Nazev") + LanguageCode);
    const QStringList surfaceNames = surfaces ? generatedSurfaceNames(LanguageCode) : QStringList();
    int total = 0;
    for (int c = 0; c < model->columnCount(); ++c) {
        model->setColumnTitle(c, LanguageText(firstTitle + c));
        int width = view->horizontalHeader()->sectionSizeHint(c);
        const QString field = model->column(c).field;
        QString sample;
        if (field == QLatin1String("Plocha"))
            sample = QStringLiteral("99,999.99");
        else if (field == QLatin1String("Vyska") || field == QLatin1String("Sirka"))
            sample = QStringLiteral("999.99");
        else if (field == QLatin1String("Pocet"))
            sample = QStringLiteral("9999");
        else if (field != QLatin1String("Material") && c > 0)
            sample = QStringLiteral("-99.99");
        if (!sample.isEmpty())
            width = std::max(width, fm.horizontalAdvance(sample) + cellMargin);
        if (c == 0)
            for (const QString& name : surfaceNames)
                width = std::max(width, fm.horizontalAdvance(name) + cellMargin);
        if (c == fitted)
            width = std::max(width, fm.averageCharWidth() * 20);
        model->setColumnWidth(c, width);
        view->setColumnWidth(c, width);
        total += width;
    }
    const int frame = 2 * view->frameWidth();
    const int scroll = view->verticalScrollBar()->sizeHint().width();
    const int header = view->horizontalHeader()->sizeHint().height();
    const int row = view->verticalHeader()->defaultSectionSize();
    view->setMinimumSize(total + frame + scroll,
                         header + rows * row + frame +
                             view->horizontalScrollBar()->sizeHint().height());
}

QString WizardForm::accessibleText(int textId) {
    return accessibleText(LanguageText(textId));
}

QString WizardForm::accessibleText(QString caption) {
    return caption.remove(QLatin1Char('&'))
        .trimmed()
        .remove(QRegularExpression(QStringLiteral(":$")));
}

void WizardForm::hint(QWidget* control, int textId, HintShown shown) {
    hints_.push_back({control, textId});
    if (shown == Balloon)
        frame_.explainInBalloon(control);
    else
        frame_.hints().registerTooltipControl(control);
}

void WizardForm::applyTexts() {
    for (const TextTarget& t : texts_) {
        QWidget* w = t.control;
        if (!w)
            continue;
        const QString text = LanguageText(t.id);
        if (auto* l = qobject_cast<QLabel*>(w))
            l->setText(text);
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            g->setTitle(text);
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            b->setText(text);
    }
    for (const TextTarget& h : hints_)
        if (h.control)
            frame_.hints().setHint(h.control, LanguageText(h.id));
    for (const ValueTarget& v : values_)
        if (v.label && v.caption)
            v.label->setAccessibleName(
                v.caption->text().trimmed().remove(QRegularExpression(QStringLiteral(":$"))));
}

void WizardForm::refreshValues() {
    const Dataset& p = frame_.projectRecord();
    const bool open = p.active() && !p.isEmpty();
    for (const ValueTarget& v : values_) {
        if (!v.label)
            continue;
        QString text;
        if (open && !p.isNull(v.field))
            text = v.number
                       ? formatFloat(QString::fromLatin1(FloatDisplayFormat), p.asFloat(v.field))
                       : readableText(p.asString(v.field));
        v.label->setText(text);
    }
}

InputPage::InputPage(TfrmZInput& frame, const char* name, int headerId, const char* headerName)
    : frame_(frame), form_(frame) {
    setObjectName(QLatin1String(name));
    layout_ = new QVBoxLayout(this);
    if (headerId)
        layout_->addWidget(form_.header(this, headerName, headerId));
}

InputWizard& InputPage::wizard() const {
    return frame_.wizard();
}

void InputPage::refresh(unsigned what) {
    if (what & WizardValues)
        form_.refreshValues();
}

void InputPage::applyLanguage() {
    form_.applyTexts();
}

} // namespace zf
