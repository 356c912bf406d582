#include "pairentries.h"

#include <algorithm>

bool PairEntries::anyLocked() const
{
    return std::ranges::any_of(pairs, &PairEntry::locked);
}

bool PairEntries::anyPathEntered() const
{
    return std::ranges::any_of(
        pairs, [](const PairEntry &pair) { return !pair.from.isEmpty() || !pair.to.isEmpty(); });
}
