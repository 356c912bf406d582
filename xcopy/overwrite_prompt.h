#pragma once

#include "options.h"

#include <string>

// Decides whether an existing destination file may be replaced, asking on a terminal.
class OverwritePrompt
{
  public:
    OverwritePrompt(Overwrite mode, bool listOnly);

    bool allows(const std::string &destination);

  private:
    Overwrite mode_;
    bool listOnly_;
    bool canAsk_;
};
