#pragma once

#include <QString>
#include <optional>

namespace zf {

// The windows of the program as the headless controllers name them.
enum class Window {
    Main,            // TfrmZMain
    StartPanel,      // the main window's panel while no project is open
    Wizard,          // TfrmZInput
    ProjectWindow,   // TfrmZFDraw
    UnitProperties,  // TfrmObjProp
    ElementsCatalog, // TfrmPrvky
    NewElement,      // TfrmPrvekNew
    UnitsCatalog,    // TfrmKatalog
};

// What a controller tells the views about itself. A view re-reads only what a
// change names: the bits of `what` are the controller's own (WizardChange,
// UnitsChange, ...). Every member does nothing by default.
class ViewEvents {
public:
    virtual ~ViewEvents() = default;
    virtual void showWindow(Window, bool /*shown*/) {}
    virtual void pageChanged(Window, int /*page*/) {}
    virtual void focusControl(Window, const QString& /*control*/) {}
    virtual void stateChanged(Window, unsigned /*what*/) {}
    // Shows a modal dialog over its controller's state: true for OK. A view that
    // cannot show it answers nothing; with no answer the dialog counts as
    // cancelled.
    virtual std::optional<bool> execDialog(Window) { return std::nullopt; }
    // Whether this view can show the dialog at all.
    virtual bool providesDialog(Window) const { return false; }
};

// Views of the main window's state (stateChanged of Window::Main).
enum MainChange : unsigned {
    MainTitle = 1,    // the application title and the project window's caption
    MainCommands = 2, // something the enabling rules look at
    MainLanguage = 4, // the language was applied
};

// A sink that does nothing: what a controller talks to before it is wired.
ViewEvents& noViewEvents();

} // namespace zf
