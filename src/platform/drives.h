// The drives a user can pick in the drive lists.
#pragma once

#include <QList>
#include <QString>

#include <memory>

struct Drive
{
    QString root;  // the drive's current folder when it is picked
    QString label; // the text the drive list shows
};

class Drives
{
  public:
    virtual ~Drives() = default;
    virtual QList<Drive> list() const = 0;
};

// The drives of the system the program was built for.
std::unique_ptr<Drives> makeDrives();
