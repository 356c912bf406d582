// One of the seven folder pairs. Pair k has the From box Text(2k-1) and the To box Text(2k),
// saved in the tables tblPath(2k-1) and tblPath(2k); this is the one place that says so.
#pragma once

#include "store/tables.h"

#include <array>

class FolderPair final
{
  public:
    static constexpr int kCount = 7;

    constexpr explicit FolderPair(int number) : m_number(number) {}

    constexpr int number() const { return m_number; }
    constexpr int index() const { return m_number - 1; } // 0-based, for arrays by pair
    constexpr int fromBox() const { return 2 * m_number - 1; }
    constexpr int toBox() const { return 2 * m_number; }
    Table fromTable() const { return pathTable(fromBox()); }
    Table toTable() const { return pathTable(toBox()); }

    constexpr bool operator==(const FolderPair &) const = default;

    // Pairs 1 to 7, in order.
    static constexpr std::array<FolderPair, kCount> all()
    {
        return {FolderPair(1), FolderPair(2), FolderPair(3), FolderPair(4),
                FolderPair(5), FolderPair(6), FolderPair(7)};
    }

  private:
    int m_number;
};
