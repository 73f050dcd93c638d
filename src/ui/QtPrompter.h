#pragma once

#include "ui/Prompter.h"

#include <QMessageBox>

#include <memory>

namespace setzaiko {

class QtPrompter : public Prompter
{
public:
    void beep() override;
    void inform(QWidget* owner, const QString& text, const QString& details = {}) override;
    bool confirm(QWidget* owner, const QString& text, const QString& title) override;

    // A box as these show it, not yet shown: no icon, owned by the window that raises it, the
    // buttons in Japanese, OK the default.
    static std::unique_ptr<QMessageBox> makeBox(QWidget* owner, const QString& title,
                                                const QString& text,
                                                QMessageBox::StandardButtons buttons);
};

} // namespace setzaiko
