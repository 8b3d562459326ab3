#include "binding/fieldbinder.h"

#include "common/dialogs.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "i18n/refusals.h"
#include "i18n/texts.h"
#include "storage/dataset.h"
#include "storage/operation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>

namespace zf {

FieldBinder::FieldBinder(QObject* parent) : QObject(parent) {}

namespace {

// The name the window gives a control: its label's text without the access key
// and the closing colon, else its accessible name.
QString captionOf(const QWidget* control) {
    if (!control)
        return {};
    for (const QLabel* label : control->window()->findChildren<QLabel*>())
        if (label->buddy() == control) {
            QString caption = label->text().remove(QLatin1Char('&')).trimmed();
            if (caption.endsWith(QLatin1Char(':')))
                caption.chop(1);
            return caption.trimmed();
        }
    return control->accessibleName();
}

} // namespace

void FieldBinder::paint(QWidget* control, EditColour colour) {
    if (!control)
        return;
    QPalette p = control->palette();
    const QPalette standard = control->style() ? control->style()->standardPalette() : QPalette();
    switch (colour) {
    case EditColour::Default:
    case EditColour::Window:
        p.setColor(QPalette::Base, standard.color(QPalette::Base));
        p.setColor(QPalette::Text, standard.color(QPalette::Text));
        break;
    case EditColour::ButtonFace:
        p.setColor(QPalette::Base, standard.color(QPalette::Button));
        p.setColor(QPalette::Text, standard.color(QPalette::Disabled, QPalette::Text));
        break;
    case EditColour::Red:
        p.setColor(QPalette::Base, QColor(255, 0, 0));
        p.setColor(QPalette::Text, Qt::white);
        break;
    case EditColour::Aqua:
        p.setColor(QPalette::Base, QColor(0, 255, 255));
        p.setColor(QPalette::Text, Qt::black);
        break;
    }
    control->setPalette(p);
    control->setAutoFillBackground(colour != EditColour::Default);
}

FieldAccess FieldBinder::datasetField(Dataset& ds, const QString& field, EditKind kind) {
    FieldAccess a;
    a.kind = kind;
    a.read = [&ds, field]() -> QVariant {
        if (!ds.active() || ds.isEmpty() || !ds.hasField(field))
            return {};
        return ds.value(field);
    };
    a.write = [&ds, field](const QVariant& v, QString* error) {
        if (!ds.active() || ds.isEmpty())
            return false;
        return writeField(ds, field, v, error);
    };
    if (!isNumeric(kind))
        a.maxLength = [&ds, field] { return textLength(ds, field); };
    return a;
}

int FieldBinder::textLength(const Dataset& ds, const QString& field) {
    const int i = ds.fieldIndex(field);
    if (i < 0)
        return 0;
    const Dataset::Field& f = ds.fields()[size_t(i)];
    return f.type == JetType::Text ? f.size : 0;
}

void FieldBinder::bind(QWidget* control, FieldAccess access) {
    Binding& b = bindings_[control];
    b.control = control;
    b.access = std::move(access);
    control->installEventFilter(this);
    connect(control, &QObject::destroyed, this, [this, control] { bindings_.remove(control); });
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (b.access.entries) {
            combo->clear();
            combo->addItems(b.access.entries());
        }
        if (!combo->isEditable())
            connect(combo, qOverload<int>(&QComboBox::activated), this, [this, control](int index) {
                if (bindings_.contains(control))
                    chosen(bindings_[control], index);
            });
        if (combo->isEditable())
            connect(combo, &QComboBox::textActivated, this, [this, control](const QString& text) {
                if (bindings_.contains(control))
                    chosen(bindings_[control], text);
            });
    } else if (auto* button = qobject_cast<QAbstractButton*>(control);
               button && button->isCheckable()) {
        connect(button, &QAbstractButton::clicked, this, [this, control](bool on) {
            if (bindings_.contains(control))
                chosen(bindings_[control], on);
        });
    } else if (auto* date = qobject_cast<QDateTimeEdit*>(control)) {
        connect(date, &QDateTimeEdit::dateTimeChanged, this,
                [this, control](const QDateTime& value) {
                    if (!updating_ && bindings_.contains(control))
                        chosen(bindings_[control], value);
                });
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        connect(edit, &QLineEdit::textEdited, this, [this, control](const QString& text) {
            if (!bindings_.contains(control))
                return;
            const Binding& bound = bindings_[control];
            if (bound.access.typedColour)
                paint(control, bound.access.typedColour(typedValue(bound, text)));
        });
    }
    show(b, false);
}

QWidget* FieldBinder::control(const QString& objectName) const {
    for (auto it = bindings_.begin(); it != bindings_.end(); ++it)
        if (it.key()->objectName() == objectName)
            return it.key();
    return nullptr;
}

QString FieldBinder::displayText(const Binding& b, bool focused) const {
    const QVariant v = b.access.read ? b.access.read() : QVariant();
    if (!v.isValid() || v.isNull())
        return QString();
    if (isNumeric(b.access.kind)) {
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok)
            return v.toString();
        if (focused)
            return formatFloat(QString::fromLatin1(FloatEditFormat), d);
        return formatFloat(b.access.displayFormat.isEmpty()
                               ? QString::fromLatin1(FloatDisplayFormat)
                               : b.access.displayFormat,
                           d);
    }
    return readableText(v.toString());
}

void FieldBinder::show(Binding& b, bool focused) {
    QWidget* w = b.control;
    if (!w)
        return;
    updating_ = true;
    const bool enabled = !b.access.enabled || b.access.enabled();
    w->setEnabled(enabled);
    if (b.access.maxLength) {
        QLineEdit* line = qobject_cast<QLineEdit*>(w);
        if (auto* combo = qobject_cast<QComboBox*>(w))
            line = combo->lineEdit();
        // A text of the column's size at most is typed or pasted.
        // Setting it again would set the text again, losing the selection
        // and the undo steps.
        if (const int length = b.access.maxLength();
            line && length > 0 && line->maxLength() != length)
            line->setMaxLength(length);
    }
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        const QString text = displayText(b, focused);
        if (edit->text() != text)
            edit->setText(text);
        if (focused)
            b.shown = text;
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        const QString text = displayText(b, false);
        if (plain->toPlainText() != text)
            plain->setPlainText(text);
        b.shown = text;
    } else if (auto* rich = qobject_cast<QTextEdit*>(w)) {
        const QString text = displayText(b, false);
        if (rich->toPlainText() != text)
            rich->setPlainText(text);
        b.shown = text;
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        const QVariant v = b.access.read ? b.access.read() : QVariant();
        if (v.typeId() == QMetaType::QString) {
            const QString text = readableText(v.toString());
            const int i = combo->findText(text);
            if (i >= 0)
                combo->setCurrentIndex(i);
            else if (combo->isEditable())
                combo->setEditText(text);
        } else {
            const int i = v.toInt();
            if (i >= 0 && i < combo->count() && combo->currentIndex() != i)
                combo->setCurrentIndex(i);
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        const bool on = b.access.read && b.access.read().toBool();
        if (button->isChecked() != on) {
            // A radio button of an exclusive group cannot be cleared by itself.
            const bool exclusive = button->autoExclusive();
            button->setAutoExclusive(false);
            button->setChecked(on);
            button->setAutoExclusive(exclusive);
        }
    } else if (auto* date = qobject_cast<QDateTimeEdit*>(w)) {
        const QDateTime dt = b.access.read ? b.access.read().toDateTime() : QDateTime();
        if (dt.isValid() && date->dateTime() != dt)
            date->setDateTime(dt);
    }
    if (b.access.colour)
        paint(w, b.access.colour(focused));
    updating_ = false;
}

void FieldBinder::refresh() {
    // The edits show their stored values again; a refused one that lost its
    // focus has nothing pending any more.
    if (refused_ && !refused_->hasFocus())
        refused_ = nullptr;
    for (Binding& b : bindings_)
        if (b.control && !(b.control->hasFocus() && qobject_cast<QLineEdit*>(b.control)))
            show(b, false);
}

void FieldBinder::refresh(QWidget* control) {
    if (bindings_.contains(control))
        show(bindings_[control], control->hasFocus());
}

void FieldBinder::refillLists() {
    for (Binding& b : bindings_) {
        auto* combo = qobject_cast<QComboBox*>(b.control.data());
        if (!combo || !b.access.entries)
            continue;
        updating_ = true;
        const int position = combo->currentIndex();
        const QStringList entries = b.access.entries();
        combo->clear();
        combo->addItems(entries);
        combo->setCurrentIndex(position >= 0 && position < entries.size() ? position : 0);
        updating_ = false;
        show(b, false);
    }
}

bool FieldBinder::commit(QWidget* control) {
    if (!bindings_.contains(control))
        return true;
    return leave(bindings_[control]);
}

void FieldBinder::chosen(Binding& b, const QVariant& value) {
    if (updating_ || writing_ || !b.access.write)
        return;
    writing_ = true;
    QString error;
    const bool ok = b.access.write(value, &error);
    writing_ = false;
    // Chosen in a list's pop-up or by a click: the box comes once that is done.
    if (!ok && !error.isEmpty())
        QTimer::singleShot(0, this, [error = refusalNaming(error, captionOf(b.control))] {
            ShowMessageBox(error, QString::fromLatin1(ProductName), MbError);
        });
    show(b, b.control && b.control->hasFocus());
}

bool FieldBinder::leave(Binding& b, bool focusLeaving) {
    QWidget* w = b.control;
    if (!w || !b.access.write || writing_)
        return true;
    QString text;
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        text = edit->text();
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(w))
        text = plain->toPlainText();
    else if (auto* rich = qobject_cast<QTextEdit*>(w))
        text = rich->toPlainText();
    else if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->isEditable()) {
        // A text typed into a list is written when the list is left, and only
        // when it differs from what the list shows.
        const QVariant shown = b.access.read ? b.access.read() : QVariant();
        if (combo->currentText() == readableText(shown.toString()))
            return true;
        text = combo->currentText();
    } else
        return true;
    if (!w->isEnabled())
        return true;
    if (auto* edit = qobject_cast<QLineEdit*>(w);
        edit && b.access.writeOnlyChanged && !edit->isModified())
        return true;
    const QVariant value = typedValue(b, text);
    writing_ = true;
    QString error;
    const bool ok = b.access.write(value, &error);
    writing_ = false;
    if (!ok) {
        refused_ = w;
        // The value stays as it was and the focus stays in the edit. While the
        // focus is moving, the box waits until it has moved: a modal window
        // in the middle of the move would take the focus from where it goes.
        show(b, true);
        const QPointer<QWidget> edit = w;
        auto say = [error = error.isEmpty() ? error : refusalNaming(error, captionOf(w))] {
            if (!error.isEmpty())
                ShowMessageBox(error, QString::fromLatin1(ProductName), MbError);
        };
        if (!focusLeaving)
            say();
        QTimer::singleShot(0, w, [edit, say, focusLeaving] {
            if (focusLeaving)
                say();
            if (edit)
                edit->setFocus();
        });
        return false;
    }
    if (refused_ == w)
        refused_ = nullptr;
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setModified(false);
    show(b, false);
    return true;
}

QVariant FieldBinder::typedValue(const Binding& b, const QString& text) const {
    if (!isNumeric(b.access.kind))
        return storedText(text);
    double d = 0;
    if (text.trimmed().isEmpty())
        return QVariant();
    if (parseNumber(text, &d))
        return d;
    return text; // the controller refuses it with the data layer's message
}

bool FieldBinder::commitFocused() {
    QWidget* w = QApplication::focusWidget();
    while (w && !bindings_.contains(w))
        w = w->parentWidget();
    if (!w)
        return true;
    Binding& b = bindings_[w];
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        // Nothing typed since the edit was entered: nothing to write.
        if (edit->text() == b.shown)
            return true;
    }
    return leave(b);
}

bool FieldBinder::eventFilter(QObject* watched, QEvent* event) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || !bindings_.contains(w))
        return QObject::eventFilter(watched, event);
    Binding& b = bindings_[w];
    if (event->type() == QEvent::FocusIn) {
        show(b, true);
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
        if (onEnter)
            onEnter(w);
    } else if (event->type() == QEvent::FocusOut) {
        if (onLeave)
            onLeave(w);
        leave(b, true);
    } else if (event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        // Escape takes back what was typed into an edit.
        if (auto* edit = qobject_cast<QLineEdit*>(w); edit && edit->text() != b.shown) {
            show(b, true);
            edit->selectAll();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zf
