#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

class Project;

// Undo and redo of every change of the project. A step is kept as the whole project written by
// the sketch file writer into memory; undoing reads the state before the step back through the
// sketch file reader and recalculates, so the bill shown afterwards is the one shown before.
//
// Whoever changes the project calls record() afterwards (the main window does it for every
// change notification); a record that finds the project unchanged adds nothing, so extra calls
// are harmless. Recording is by comparison with the last recorded state: a change that was not
// recorded yet becomes a step of its own before undo() goes back.
class UndoHistory {
public:
    // At least this many steps are kept; older ones are dropped.
    static constexpr std::size_t kMaxSteps = 100;
    // Memory bound of both lists together. Steps beyond it are dropped from the oldest end, but
    // never below kMinStepsKept.
    static constexpr std::size_t kMaxBytes = std::size_t{64} << 20;
    static constexpr std::size_t kMinStepsKept = 20;

    explicit UndoHistory(Project& project);

    // The project as it is now becomes the starting point and the saved state; both lists are
    // emptied (after opening a file or starting a new project).
    void reset();

    // Records the change made since the last record as one step. Consecutive records with the
    // same non-empty mergeKey extend one step (typing into one field). Returns whether the project
    // had changed.
    bool record(std::string_view mergeKey = {});
    // Told after every change recorded, whoever recorded it (beginStep() and endStep() record
    // too): the window's title and the recovery copy follow every step.
    void setOnRecorded(std::function<void()> told) { onRecorded_ = std::move(told); }

    // Until endStep(), all records make one step. With extendLast that step is the last one
    // recorded: a split or a drag and the insert size set right after it are undone together.
    // Both record what changed before them.
    void beginStep(bool extendLast);
    void endStep();

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // Back to the state before the last step / forward again. False when there is none or the
    // stored state could not be read back (the project is then left as it was).
    bool undo();
    bool redo();

    // The project as it is now is taken as the present state without adding a step (after the
    // panels refreshed themselves following undo or redo).
    void adoptPresent();

    // The saved state: the file the project was last read from or written to holds the present
    // state. Modified means the present differs from it, so undoing back to it is clean again.
    void markSaved() {
        saved_ = present_;
        hasSaved_ = true;
    }
    // No file holds any state of this history (a recovered project): modified until saved.
    void forgetSaved() {
        saved_.clear();
        hasSaved_ = false;
    }
    bool isModified() const { return !hasSaved_ || present_ != saved_; }
    // The state as last recorded or restored: the sketch file's bytes of the present project.
    const std::string& presentState() const { return present_; }
    // Inside beginStep() / endStep(): a change is in progress.
    bool inStep() const { return grouping_; }

    std::size_t undoSteps() const { return undo_.size(); }
    std::size_t redoSteps() const { return redo_.size(); }
    std::size_t bytesHeld() const { return bytes_; }

private:
    bool capture(std::string& out) const;
    bool restore(const std::string& state);
    void push(std::deque<std::string>& list, std::string state);
    // Undo (from the undo list, the present going to redo) or redo (the other way round).
    bool stepTo(std::deque<std::string>& from, std::deque<std::string>& to);
    void pop(std::deque<std::string>& list);
    void trim();

    Project& project_;
    std::string present_; // the state as last recorded or restored
    std::string saved_;   // the state the file holds
    bool hasSaved_ = true;
    std::function<void()> onRecorded_;
    std::deque<std::string> undo_;
    std::deque<std::string> redo_;
    std::string lastKey_;
    bool grouping_ = false;
    bool groupHasStep_ = false;
    std::size_t bytes_ = 0;
};
