#pragma once

#include "binding/fieldbinder.h"

#include <QPointer>
#include <QWidget>
#include <vector>

class QGridLayout;
class QLabel;
class QPlainTextEdit;
class QVBoxLayout;

namespace zf {

class DatasetGrid;
class InputWizard;
class TfrmZInput;

// Builds the controls of one page of the wizard. Every control gets the name
// the texts and hints know it by and, given a text id, its caption, which
// applyTexts sets again in the language; an edit named as one of the wizard's
// edits is bound to its field, any control to the access it is given, and the
// edits, lists, check and radio buttons follow the wizard's keys. A row of a
// form puts a label beside its control and makes it the control's buddy.
class WizardForm {
public:
    explicit WizardForm(TfrmZInput& frame) : frame_(frame) {}

    // A control of the page. Line edits and memos of the wizard's edits come
    // bound; a list is as wide as its longest entry.
    template <class T> T* make(QWidget* parent, const char* name, int textId = 0);
    // A control bound to the access (a list, a check or radio button, ...).
    template <class T> T* make(QWidget* parent, const char* name, int textId, FieldAccess access) {
        T* control = make<T>(parent, name, textId);
        QWidget* widget = control;
        bind(widget, std::move(access));
        return control;
    }
    void bind(QWidget* control, FieldAccess access);
    // A choice of the wizard's state, shown by read and made by write.
    template <class Read, class Write> static FieldAccess choice(Read read, Write write) {
        FieldAccess a;
        a.read = [read] { return QVariant(read()); };
        a.write = [write](const QVariant& v, QString*) {
            write(v);
            return true;
        };
        return a;
    }
    // A memo as high as the lines it shows.
    static void setLines(QPlainTextEdit* memo, int lines);
    // A bold header over the page's width, in as many lines as its text needs.
    QLabel* header(QWidget* parent, const char* name, int textId);
    // A read-only value of the project record (a number in the display format,
    // or a text), named for screen readers by its caption.
    QLabel* value(QWidget* parent, const char* name, const QString& field, bool number,
                  QLabel* caption);
    // A row of a form: the label, the control it names, and what stands after it.
    static void row(QGridLayout* grid, QLabel* label, QWidget* control, QWidget* after = nullptr);
    // A row of a read-only number of the project record, with its caption.
    void valueRow(QGridLayout* grid, QWidget* parent, const char* captionName, int textId,
                  const char* name, const char* field);

    // A grid over the surfaces (its first column the name in the language) or
    // the openings: the titles in the language from firstTitle on, widths that
    // fit the titles, the names and the numbers its columns hold, the fitted
    // column at least twenty characters wide (-1: none), and room for rows.
    static void layOutGrid(DatasetGrid* grid, int firstTitle, bool surfaces, int fitted, int rows,
                           const QFont& font);
    // A caption as a name for screen readers: no access key, no colon.
    static QString accessibleText(int textId);
    static QString accessibleText(QString caption);

    // The help hint of a control: a balloon beside it while it has the focus
    // (the edits, memos and the lists of days and hours), else its tooltip
    // while the help display is on.
    enum HintShown { Tooltip, Balloon };
    void hint(QWidget* control, int textId, HintShown shown = Tooltip);

    // The captions and hints in the language, and the values named by them.
    void applyTexts();
    // The values as the project record holds them.
    void refreshValues();

private:
    FieldAccess editAccess(const QString& name);
    void prepare(QWidget* control, const char* name, int textId);

    struct TextTarget {
        QPointer<QWidget> control;
        int id;
    };
    struct ValueTarget {
        QPointer<QLabel> label;
        QString field;
        bool number;
        QPointer<QLabel> caption;
    };
    TfrmZInput& frame_;
    std::vector<TextTarget> texts_;
    std::vector<ValueTarget> values_;
    std::vector<TextTarget> hints_;
};

// A page of the wizard: it builds its controls, shows the wizard's state when a
// change names what it shows (the bits of WizardChange), and gives its controls
// the texts of the language.
class InputPage : public QWidget {
    Q_OBJECT
public:
    // A page with the objectName of its tab and, given a text id, a header.
    InputPage(TfrmZInput& frame, const char* name, int headerId = 0,
              const char* headerName = nullptr);

    virtual void refresh(unsigned what);
    virtual void applyLanguage();
    // The window was shown or its language changed: the grids' stretched
    // columns take the width there is.
    virtual void fitColumns() {}

protected:
    InputWizard& wizard() const;

    TfrmZInput& frame_;
    WizardForm form_;
    QVBoxLayout* layout_ = nullptr;
};

} // namespace zf
