#pragma once

#include "mixer/project/mix_job.h"

#include <QUndoCommand>

#include <functional>
#include <vector>

namespace mixer {

// Both lists of a MixJob as they stand at one moment.
struct ListsSnapshot {
    std::vector<VideoEntry> videos;
    std::vector<AudioEntry> audios;
};

// One undoable change of the lists, kept as the lists before and after it: undo puts back
// `before`, redo puts back `after`, each through `restore` (which owns announcing the change).
// A whole-list copy per step keeps every kind of change (add, remove, reorder, trim, settings)
// exactly reversible with one command type; a list holds at most kMaxListEntries small entries.
class ListsEditCommand : public QUndoCommand {
  public:
    using Restore = std::function<void(const ListsSnapshot&)>;

    ListsEditCommand(const QString& text, ListsSnapshot before, ListsSnapshot after,
                     Restore restore);

    void undo() override;
    void redo() override;

  private:
    ListsSnapshot before_;
    ListsSnapshot after_;
    Restore restore_;
    bool firstRedo_ = true;  // the change was already made when the command was pushed
};

}  // namespace mixer
