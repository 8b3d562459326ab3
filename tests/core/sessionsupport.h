#pragma once

#include "session/projectsession.h"
#include "testsupport.h"

#include <QStringList>

namespace zf::test {

// A program session in place of a bare data module: the files, the wizard and
// the units wired as in the program, with the test dialogs. `data` and `files`
// are the session's.
class SessionTest : public StorageTest {
protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<ProjectSession> session;
    TZFData* data = nullptr;
    ProjectFiles* files = nullptr;
    InputWizard* wizard = nullptr;
};

// A view that writes down what it is told, one line per event.
class RecordingView : public SessionView {
public:
    using SessionView::SessionView;
    QStringList events;
    std::optional<bool> dialogAnswer;
    void showWindow(Window w, bool shown) override;
    void pageChanged(Window w, int page) override;
    void focusControl(Window w, const QString& control) override;
    std::optional<bool> execDialog(Window w) override;
    bool saw(const QString& event) const { return events.contains(event); }
};

} // namespace zf::test
