#pragma once

#include "common/dialogs.h"

#include <cstdio>

namespace zf {

// The Dialogs port of the command-line tool: every message box is written to
// stderr as a block "box ICON: text"; questions get the answer the command
// chose, file dialogs the path the command names.
class CliDialogs final : public Dialogs {
public:
    explicit CliDialogs(std::FILE* out = stderr) : out_(out) {}

    int answerYesNo = IdYes;          // Yes/No questions
    int answerYesNoCancel = IdCancel; // Yes/No/Cancel questions
    QString saveFileNameAnswer;       // empty: cancelled
    int errorBoxes = 0;               // error boxes shown so far

    int messageBox(const QString& text, const QString& caption, int flags) override;
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const SaveDialogOptions&) override { return saveFileNameAnswer; }
    bool interactive() const override { return false; }

private:
    std::FILE* out_;
};

} // namespace zf
