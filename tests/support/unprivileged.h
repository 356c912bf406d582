// File permissions do not stop root, so tests of what a user may not do drop root's rights first.
#pragma once

#include <QString>

// Started as root, the process goes on as the user nobody for good. Returns an empty text when
// the process now runs as a user whom permissions stop, otherwise why it does not.
QString dropRootRights();
