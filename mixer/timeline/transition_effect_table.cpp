#include "mixer/timeline/transition_effect_table.h"

#include "editing/transitions/transition_catalog.h"
#include "mixer/project/mix_job.h"

#include <cstddef>

namespace mixer {

namespace {

static_assert(editing::kTransitionEffectCount == kTransitionEffectRows);
static_assert(kTransitionEffectCount == kTransitionEffectRows);

// The rows are the effect catalogue of the editing layer seen from the build: the names, kinds
// and patterns are kept in one place only, where the effects themselves live.
constexpr std::array<TransitionEffectRow, kTransitionEffectRows> makeTable() {
    std::array<TransitionEffectRow, kTransitionEffectRows> rows{};
    for (int index = 0; index < kTransitionEffectRows; ++index) {
        const editing::TransitionEffectEntry& entry =
            editing::kTransitionEffectCatalog[static_cast<std::size_t>(index)];
        TransitionEffectRow& row = rows[static_cast<std::size_t>(index)];
        row.index = index;
        // The catalogue's names are string literals, so data() is terminated.
        row.name = entry.name.data();
        if (index > 0) {
            row.kind = entry.kind;
        }
        if (entry.kind == editing::TransitionKind::SmpteWipe && index > 0) {
            row.maskNumber = entry.maskNumber;
        }
    }
    return rows;
}

}  // namespace

const std::array<TransitionEffectRow, kTransitionEffectRows> TransitionEffectTable = makeTable();

const TransitionEffectRow* findTransitionEffect(int transitionEffect) {
    if (transitionEffect < 0 || transitionEffect >= kTransitionEffectRows) {
        return nullptr;
    }
    return &TransitionEffectTable[static_cast<std::size_t>(transitionEffect)];
}

}  // namespace mixer
