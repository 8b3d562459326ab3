#pragma once

#include <QtGlobal>
#include <memory>

class QUndoStack;

namespace zf {

class PlanView;

// Undo and redo of the moves of units on the plan: a drop, or a unit placed by
// its properties dialog. It lives in memory only and changes nothing that is
// stored; a step changes the plan as a drop does (PlanChanged, Modified), and
// tJednotky follows at the next store. The stack's clean state is the plan as
// last saved: stepping back to it clears Modified again, but only when nothing
// but these moves changed since the save (neither a value of a table nor a
// stored plan), so the file is then still the saved one.
class PlanHistory {
public:
    explicit PlanHistory(PlanView& plan);
    ~PlanHistory();
    PlanHistory(const PlanHistory&) = delete;
    PlanHistory& operator=(const PlanHistory&) = delete;

    struct Place {
        float x = 0, y = 0, z = 0;
        int angle = 0;
    };
    // The unit with the number went from list position `from` to `to` and from
    // `before` to `after`. ownChange: the move set Modified once and nothing
    // else (a drop); a dialog's move wrote the table and does not count.
    void recordMove(int number, int from, int to, const Place& before, const Place& after,
                    bool ownChange);

    bool canUndo() const;
    bool canRedo() const;
    bool undo();
    bool redo();
    int count() const;
    bool isClean() const;

    // The plan was rebuilt or replaced: the history starts again, clean when
    // the project is unmodified.
    void clear();
    // The project was saved (or opened): its plan is the clean state, when the
    // project is unmodified.
    void projectSaved();

    QUndoStack& stack() { return *stack_; }

private:
    class MoveCommand;
    void stepped();

    PlanView& plan_;
    std::unique_ptr<QUndoStack> stack_;
    quint64 savedChanges_ = 0; // Modified.changes() at the save
    quint64 ownChanges_ = 0;   // of them, set by moves and their steps
};

} // namespace zf
