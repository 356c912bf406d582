// Which folder pair receives a folder picked in a folder list, decided by the lock boxes.
#pragma once

#include <QList>

#include <array>

// The values of the lock boxes Check1 .. Check7: 0 cleared, 1 ticked.
using LockPattern = std::array<int, 7>;

struct PairingTest
{
    LockPattern locks;
    int pair; // the pair whose box receives the path when every lock box has its value
};

extern const std::array<PairingTest, 14> kPairingTable;

// The pair of every test that matches, in the table's order. The path goes to the first free
// pair behind leading locked ones, or to the only free pair; any other pattern matches nothing.
// Two tests describe pairs 1 to 6 locked, so pair 7 is then named twice.
QList<int> pairsMatching(const LockPattern &locks);
