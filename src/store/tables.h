// The eighteen one-field tables of the settings database.
#pragma once

#include <QString>

#include <array>

enum class Table {
    Path1,
    Path2,
    Path3,
    Path4,
    Path5,
    Path6,
    Path7,
    Path8,
    Path9,
    Path10,
    Path11,
    Path12,
    Path13,
    Path14,
    Date,
    AutoSync,
    Days,
    Time,
};

struct TableDefinition
{
    Table table;
    const char *name;
    const char *field;
    const char *contents; // what the user would call the value, for error messages
};

extern const std::array<TableDefinition, 18> kTables;

const TableDefinition &definition(Table table);

// The path table of From box n (odd) or To box n (even), n = 1..14.
Table pathTable(int n);
