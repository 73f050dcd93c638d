#pragma once

#include "ui/Prompter.h"

namespace setzaiko {

class QtPrompter : public Prompter
{
public:
    void beep() override;
    void inform(const QString& text) override;
    bool confirm(const QString& text, const QString& title) override;
};

} // namespace setzaiko
