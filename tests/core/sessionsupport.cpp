#include "sessionsupport.h"

namespace zf::test {

namespace {
QString windowName(Window w) {
    switch (w) {
    case Window::Main:
        return QStringLiteral("main");
    case Window::StartPanel:
        return QStringLiteral("start");
    case Window::Wizard:
        return QStringLiteral("wizard");
    case Window::ProjectWindow:
        return QStringLiteral("project");
    case Window::UnitProperties:
        return QStringLiteral("properties");
    default:
        return QStringLiteral("other");
    }
}
} // namespace

void SessionTest::SetUp() {
    StorageTest::SetUp();
    StorageTest::files.reset();
    StorageTest::data.reset();
    session = std::make_unique<ProjectSession>();
    session->setHelpDisplay(false);
    ASSERT_TRUE(session->start());
    data = &SessionProbe(*session).data();
    files = &SessionProbe(*session).files();
    wizard = &SessionProbe(*session).wizard();
}

void SessionTest::TearDown() {
    session.reset();
    StorageTest::TearDown();
}

void RecordingView::showWindow(Window w, bool shown) {
    events << (shown ? QStringLiteral("show ") : QStringLiteral("hide ")) + windowName(w);
}

void RecordingView::pageChanged(Window w, int page) {
    events << QStringLiteral("page %1 %2").arg(windowName(w)).arg(page);
}

void RecordingView::focusControl(Window w, const QString& control) {
    events << QStringLiteral("focus %1 %2").arg(windowName(w), control);
}

std::optional<bool> RecordingView::execDialog(Window w) {
    events << QStringLiteral("dialog ") + windowName(w);
    return dialogAnswer;
}

} // namespace zf::test
