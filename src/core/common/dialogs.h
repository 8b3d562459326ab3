#pragma once

#include <QString>
#include <QStringList>

namespace zf {

// Message box flags: icon and buttons.
enum MessageFlags : int {
    MbError = 16,              // error icon, OK
    MbWarning = 48,            // warning icon, OK
    MbInformation = 64,        // information icon, OK
    MbQuestionYesNo = 36,      // question icon, Yes and No
    MbWarningYesNo = 52,       // warning icon, Yes and No
    MbWarningYesNoCancel = 51, // warning icon, Yes, No and Cancel
};

// Buttons a message box returns.
enum MessageAnswer : int { IdOk = 1, IdCancel = 2, IdYes = 6, IdNo = 7 };

enum class MessageIcon { Error, Warning, Information, Question };
MessageIcon iconOfFlags(int flags);
const char* iconName(MessageIcon icon); // "error", "warning", "information", "question"

struct SaveDialogOptions {
    QString title;
    QString filter;        // "Text|*.ext|All files (*.*)|*.*"
    QString defaultSuffix; // without the dot
    QString initialFolder;
    bool promptOverwrite = true;
};

// Everything that would show a message box, ask a question or a file name, or
// show the busy cursor goes through this port. The windows implement it with Qt
// dialogs, the command-line tool with stderr, the tests with queued answers.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual int messageBox(const QString& text, const QString& caption, int flags) = 0;
    // Empty result: the user cancelled.
    virtual QString openFileName(const QString& title, const QString& filter,
                                 const QString& initialFolder) = 0;
    virtual QString saveFileName(const SaveDialogOptions& options) = 0;
    virtual void beginBusy() {}
    virtual void endBusy() {}
    // Lets pending window messages be processed.
    virtual void processEvents() {}
    // False when nobody reads the questions (the command-line tool): a question
    // whose answer could lose work is then answered the safe way.
    virtual bool interactive() const { return true; }
};

// The port in use; a silent implementation that answers the default button
// (OK, Cancel for three-button boxes, No for Yes/No boxes) until one is set.
Dialogs& dialogs();
void setDialogs(Dialogs* port); // nullptr restores the silent one

// How many message boxes have been shown so far (a caller learns whether a step
// it ran had to tell the user something).
quint64 messageBoxesShown();

// Modal message box; returns the button pressed.
int ShowMessageBox(const QString& text, const QString& caption, int flags);
// The same, with "\n\n#Error message: " + LastError appended when LastError is not
// empty; LastError is cleared.
int ShowErrorBox(const QString& text, const QString& caption, int flags);

// Splits a filter "Desc|*.a;*.b|All|*.*" into (description, patterns) pairs.
QList<QPair<QString, QString>> splitFileFilter(const QString& filter);

// Shows the busy cursor for the lifetime of the object.
class BusyCursor {
public:
    BusyCursor() { dialogs().beginBusy(); }
    ~BusyCursor() { dialogs().endBusy(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace zf
