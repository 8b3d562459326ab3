#include "units/planhistory.h"

#include "common/globals.h"
#include "units/planview.h"

#include <QUndoCommand>
#include <QUndoStack>
#include <algorithm>

namespace zf {

namespace {
constexpr int UndoLimit = 1000;
} // namespace

class PlanHistory::MoveCommand : public QUndoCommand {
public:
    MoveCommand(PlanView& plan, int number, int from, int to, const Place& before,
                const Place& after)
        : plan_(plan), number_(number), from_(from), to_(to), before_(before), after_(after) {}

    void undo() override { apply(to_, from_, before_); }
    void redo() override {
        // Pushing a move that has already happened.
        if (first_) {
            first_ = false;
            return;
        }
        apply(from_, to_, after_);
    }

private:
    void apply(int at, int to, const Place& place) {
        int index = at;
        if (index < 0 || index >= plan_.count() || plan_.object(index).number != number_) {
            index = -1;
            for (int i = 0; i < plan_.count(); ++i)
                if (plan_.object(i).number == number_)
                    index = i;
        }
        if (index < 0)
            return;
        plan_.MoveObject(index, std::min(to, plan_.count() - 1), place.x, place.y, place.z,
                         place.angle);
    }

    PlanView& plan_;
    int number_, from_, to_;
    Place before_, after_;
    bool first_ = true;
};

PlanHistory::PlanHistory(PlanView& plan) : plan_(plan), stack_(std::make_unique<QUndoStack>()) {
    stack_->setUndoLimit(UndoLimit);
    savedChanges_ = Modified.changes();
}

PlanHistory::~PlanHistory() = default;

void PlanHistory::recordMove(int number, int from, int to, const Place& before, const Place& after,
                             bool ownChange) {
    // Pushing drops the steps undone before; a clean state among them is lost.
    stack_->push(new MoveCommand(plan_, number, from, to, before, after));
    if (ownChange)
        ++ownChanges_;
}

bool PlanHistory::canUndo() const {
    return stack_->canUndo();
}

bool PlanHistory::canRedo() const {
    return stack_->canRedo();
}

int PlanHistory::count() const {
    return stack_->count();
}

bool PlanHistory::isClean() const {
    return stack_->isClean();
}

bool PlanHistory::undo() {
    if (!stack_->canUndo())
        return false;
    stack_->undo();
    stepped();
    return true;
}

bool PlanHistory::redo() {
    if (!stack_->canRedo())
        return false;
    stack_->redo();
    stepped();
    return true;
}

void PlanHistory::stepped() {
    plan_.PlanChanged = true;
    Modified = true;
    ++ownChanges_;
    if (stack_->isClean() && Modified.changes() - savedChanges_ == ownChanges_) {
        Modified = false;
        plan_.PlanChanged = false;
    }
}

void PlanHistory::clear() {
    stack_->clear();
    if (Modified)
        stack_->resetClean();
    else
        projectSaved();
}

void PlanHistory::projectSaved() {
    if (Modified)
        return;
    stack_->setClean();
    savedChanges_ = Modified.changes();
    ownChanges_ = 0;
}

} // namespace zf
