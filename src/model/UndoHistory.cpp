#include "model/UndoHistory.h"

#include "model/Project.h"
#include "model/SketchFile.h"

#include <optional>
#include <utility>

UndoHistory::UndoHistory(Project& project) : project_(project) {
    reset();
}

bool UndoHistory::capture(std::string& out) const {
    std::optional<std::string> bytes = SketchFile::toBytes(project_);
    if (!bytes)
        return false;
    out = std::move(*bytes);
    return true;
}

bool UndoHistory::restore(const std::string& state) {
    return SketchFile::fromBytes(project_, state) == SketchFile::ReadOk;
}

void UndoHistory::reset() {
    undo_.clear();
    redo_.clear();
    bytes_ = 0;
    lastKey_.clear();
    grouping_ = false;
    groupHasStep_ = false;
    present_.clear();
    capture(present_);
    markSaved();
}

void UndoHistory::push(std::deque<std::string>& list, std::string state) {
    bytes_ += state.size();
    list.push_back(std::move(state));
}

void UndoHistory::pop(std::deque<std::string>& list) {
    bytes_ -= list.back().size();
    list.pop_back();
}

void UndoHistory::trim() {
    while (undo_.size() > kMaxSteps ||
           (bytes_ > kMaxBytes && undo_.size() + redo_.size() > kMinStepsKept && !undo_.empty())) {
        bytes_ -= undo_.front().size();
        undo_.pop_front();
    }
}

bool UndoHistory::record(std::string_view mergeKey) {
    std::string now;
    if (!capture(now) || now == present_)
        return false;
    const bool extend = !undo_.empty() && redo_.empty() &&
                        (grouping_ ? groupHasStep_ : (!mergeKey.empty() && mergeKey == lastKey_));
    while (!redo_.empty())
        pop(redo_);
    if (extend) {
        // The step grows; when it came back to where it began it is no step at all.
        if (now == undo_.back()) {
            pop(undo_);
            groupHasStep_ = false;
        }
    } else {
        push(undo_, std::move(present_));
        groupHasStep_ = grouping_;
    }
    present_ = std::move(now);
    lastKey_ = std::string(mergeKey);
    trim();
    if (onRecorded_)
        onRecorded_();
    return true;
}

void UndoHistory::beginStep(bool extendLast) {
    // A change made before the group is a step of its own.
    record();
    grouping_ = true;
    groupHasStep_ = extendLast && !undo_.empty() && redo_.empty();
}

void UndoHistory::endStep() {
    record();
    grouping_ = false;
    groupHasStep_ = false;
    lastKey_.clear();
}

bool UndoHistory::undo() {
    return stepTo(undo_, redo_);
}

bool UndoHistory::redo() {
    return stepTo(redo_, undo_);
}

bool UndoHistory::stepTo(std::deque<std::string>& from, std::deque<std::string>& to) {
    record();
    lastKey_.clear();
    if (from.empty() || !restore(from.back()))
        return false;
    push(to, std::move(present_));
    present_ = std::move(from.back());
    from.pop_back();
    bytes_ -= present_.size();
    return true;
}

void UndoHistory::adoptPresent() {
    capture(present_);
}
