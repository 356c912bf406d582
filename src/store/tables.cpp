#include "tables.h"

#include <QtGlobal>

const std::array<TableDefinition, 18> kTables{{
    {Table::Path1, "tblPath1", "Path1", "the From folder of pair 1"},
    {Table::Path2, "tblPath2", "Path2", "the To folder of pair 1"},
    {Table::Path3, "tblPath3", "Path3", "the From folder of pair 2"},
    {Table::Path4, "tblPath4", "Path4", "the To folder of pair 2"},
    {Table::Path5, "tblPath5", "Path5", "the From folder of pair 3"},
    {Table::Path6, "tblPath6", "Path6", "the To folder of pair 3"},
    {Table::Path7, "tblPath7", "Path7", "the From folder of pair 4"},
    {Table::Path8, "tblPath8", "Path8", "the To folder of pair 4"},
    {Table::Path9, "tblPath9", "Path9", "the From folder of pair 5"},
    {Table::Path10, "tblPath10", "Path10", "the To folder of pair 5"},
    {Table::Path11, "tblPath11", "Path11", "the From folder of pair 6"},
    {Table::Path12, "tblPath12", "Path12", "the To folder of pair 6"},
    {Table::Path13, "tblPath13", "Path13", "the From folder of pair 7"},
    {Table::Path14, "tblPath14", "Path14", "the To folder of pair 7"},
    {Table::Date, "tblDate", "Date", "the next copy date"},
    {Table::AutoSync, "tblAutoSync", "AutoSync", "the automatic copy setting"},
    {Table::Days, "tblDays", "Days", "the interval in days"},
    {Table::Time, "tblTime", "Time", "the time of day of the automatic copy"},
}};

const TableDefinition &definition(Table table)
{
    return kTables[static_cast<std::size_t>(table)];
}

Table pathTable(int n)
{
    Q_ASSERT(n >= 1 && n <= 14);
    return static_cast<Table>(n - 1);
}
