#include "mixer/project/media_lists_undo.h"

#include <utility>

namespace mixer {

ListsEditCommand::ListsEditCommand(const QString& text, ListsSnapshot before, ListsSnapshot after,
                                   Restore restore)
    : before_(std::move(before)), after_(std::move(after)), restore_(std::move(restore)) {
    setText(text);
}

void ListsEditCommand::undo() {
    restore_(before_);
}

void ListsEditCommand::redo() {
    if (firstRedo_) {
        firstRedo_ = false;
        return;
    }
    restore_(after_);
}

}  // namespace mixer
