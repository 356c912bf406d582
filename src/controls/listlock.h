// Locking a drop-down list against the user. Unlike disabling it, the lock leaves the list's text
// in its own colour, so the frozen schedule stays readable in green.
#pragma once

class QComboBox;

void setListLocked(QComboBox *list, bool locked);
