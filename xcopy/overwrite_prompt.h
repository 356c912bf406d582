#pragma once

#include "options.h"

#include <string>

// Decides whether an existing destination file may be replaced, asking on a terminal.
class OverwritePrompt
{
  public:
    OverwritePrompt(Overwrite mode, bool listOnly);

    bool allows(const std::string &destination);
    // Whether allows() puts a question to the user.
    bool asks() const { return mode_ == Overwrite::Ask && canAsk_ && !listOnly_; }

  private:
    Overwrite mode_;
    bool listOnly_;
    bool canAsk_;
};
