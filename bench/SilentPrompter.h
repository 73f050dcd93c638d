#pragma once

#include "ui/Prompter.h"

#include <QString>

namespace setzaiko::bench {

// Answers every box at once, so that a benchmark never waits for a click; keeps the last text.
class SilentPrompter : public Prompter
{
public:
    void beep() override {}
    void inform(QWidget*, const QString& text, const QString& = {}) override { last = text; }
    bool confirm(QWidget*, const QString&, const QString&) override { return true; }
    QString last;
};

} // namespace setzaiko::bench
