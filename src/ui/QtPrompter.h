#pragma once

#include "ui/Prompter.h"

namespace setzaiko {

class QtPrompter : public Prompter
{
public:
    void beep() override;
    void inform(QWidget* owner, const QString& text) override;
    bool confirm(QWidget* owner, const QString& text, const QString& title) override;
};

} // namespace setzaiko
