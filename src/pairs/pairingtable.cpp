#include "pairingtable.h"

const std::array<PairingTest, 14> kPairingTable{{
    {{0, 0, 0, 0, 0, 0, 0}, 1},
    {{0, 1, 1, 1, 1, 1, 1}, 1},
    {{1, 0, 1, 1, 1, 1, 1}, 2},
    {{1, 1, 0, 1, 1, 1, 1}, 3},
    {{1, 1, 1, 0, 1, 1, 1}, 4},
    {{1, 1, 1, 1, 0, 1, 1}, 5},
    {{1, 1, 1, 1, 1, 0, 1}, 6},
    {{1, 1, 1, 1, 1, 1, 0}, 7},
    {{1, 0, 0, 0, 0, 0, 0}, 2},
    {{1, 1, 0, 0, 0, 0, 0}, 3},
    {{1, 1, 1, 0, 0, 0, 0}, 4},
    {{1, 1, 1, 1, 0, 0, 0}, 5},
    {{1, 1, 1, 1, 1, 0, 0}, 6},
    {{1, 1, 1, 1, 1, 1, 0}, 7},
}};

QList<int> pairsMatching(const LockPattern &locks)
{
    QList<int> pairs;
    for (const PairingTest &test : kPairingTable) {
        if (test.locks == locks)
            pairs.append(test.pair);
    }
    return pairs;
}
