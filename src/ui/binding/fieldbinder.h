#pragma once

#include "common/editstyle.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

class QWidget;

namespace zf {

class Dataset;

// How a control shows and stores its value. The binder calls these; the
// controller behind them holds the rules.
struct FieldAccess {
    EditKind kind = EditKind::Text;
    // The value to show (a number or a text; a choice's index for a list).
    std::function<QVariant()> read;
    // Stores a value as typed and left (the edit's own text for a text, the
    // number for a number, the index for a list). False when it was refused;
    // error then holds the reason, which the binder shows.
    std::function<bool(const QVariant& value, QString* error)> write;
    std::function<bool()> enabled;                  // empty: always
    std::function<EditColour(bool focused)> colour; // empty: no colour rule
    std::function<QStringList()> entries;           // the entries of a list, in the language
    // The format a number is shown in while its edit has no focus; empty: the
    // display format ",0.##".
    QString displayFormat;
    // Leaving an edit whose text was not changed writes nothing (a number
    // shown with two decimals is not cut to them by passing through).
    bool writeOnlyChanged = false;
    // The colour while the user types, from the value as typed (a number, an
    // invalid value for an empty edit, or the text that is no number).
    std::function<EditColour(const QVariant& typed)> typedColour;
    // The characters a text may have (its column's size); empty or 0: no limit.
    std::function<int()> maxLength;
};

// Ties the controls of a window to their values: a line edit, a memo (plain or
// rich text edit), a list, a check box, a radio button or a date picker. A list
// that can be edited gives its text, every other list its index; a check box
// and a radio button give whether they are ticked. Numbers are shown in
// the display format and typed in the edit format of the user's locale ("1 234,5"
// in Czech, "1,234.5" in English, the minus U+2212 too); a text that is not a
// number is given to the controller as typed, which refuses it with the data
// layer's message: the message is shown, the value stays as it was and the focus
// stays in the edit. An edit writes when it is left; a list, a check box and a
// date picker when the user changes them.
class FieldBinder : public QObject {
    Q_OBJECT
public:
    explicit FieldBinder(QObject* parent = nullptr);

    void bind(QWidget* control, FieldAccess access);
    // A field of a dataset's current row, written as one operation.
    static FieldAccess datasetField(Dataset& dataset, const QString& field, EditKind kind);
    // The characters a Text column holds; 0 for any other column (or before
    // the dataset is open).
    static int textLength(const Dataset& dataset, const QString& field);

    // Shows every control's value, enabled state and colour again.
    void refresh();
    void refresh(QWidget* control);
    // The lists take their entries again (a language switch), keeping the choice
    // when it is still an entry, else choosing the first.
    void refillLists();
    // Writes what an edit holds now, as leaving it would (before a dialog's OK
    // closes it). False when the value was refused: the message was shown and
    // the edit keeps the focus.
    bool commit(QWidget* control);
    // The edit whose value was refused when it was last left, until it is left
    // with a value that is taken; nullptr when there is none.
    QWidget* refusedControl() const { return refused_; }
    // Writes what the focused edit holds now, as leaving it would (a button
    // reached by its access key does not take the focus). False when the value
    // was refused: the focus stays in the edit.
    bool commitFocused();

    QWidget* control(const QString& objectName) const;
    bool isBound(QWidget* control) const { return bindings_.contains(control); }
    bool writing() const { return writing_; }

    // Controls report their focus to these.
    std::function<void(QWidget*)> onEnter;
    std::function<void(QWidget*)> onLeave;

    // Applies a colour to a control's background.
    static void paint(QWidget* control, EditColour colour);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Binding {
        QPointer<QWidget> control;
        FieldAccess access;
        QString shown; // the text shown when the edit was entered
    };
    void show(Binding& b, bool focused);
    bool leave(Binding& b, bool focusLeaving = false);
    QVariant typedValue(const Binding& b, const QString& text) const;
    void chosen(Binding& b, const QVariant& value);
    QString displayText(const Binding& b, bool focused) const;

    QHash<QWidget*, Binding> bindings_;
    bool writing_ = false;
    bool updating_ = false;
    QPointer<QWidget> refused_;
};

} // namespace zf
