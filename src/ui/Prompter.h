#pragma once

#include "screen/ScreenBox.h"

#include <QString>

#include <vector>

class QWidget;

namespace setzaiko {

// The one route of every message box, question and beep of the windows. The program hands the
// windows the Qt implementation; tests hand them a fake that records and answers. Each box is
// shown over the window that raised it, its owner.
class Prompter
{
public:
    virtual ~Prompter() = default;

    virtual void beep() = 0;
    // An OK-only box without icon, titled with the application's name. Details, where given,
    // wait behind the box's details button: the cause of a failure the text only names.
    virtual void inform(QWidget* owner, const QString& text, const QString& details = {}) = 0;
    // An OK/Cancel box without icon and with its own title; true when OK was chosen.
    virtual bool confirm(QWidget* owner, const QString& text, const QString& title) = 0;

    // The boxes a screen model has made due, in their order, each after its beep.
    void show(QWidget* owner, const std::vector<ScreenBox>& boxes)
    {
        for (const ScreenBox& box : boxes) {
            if (box.beep) {
                beep();
            }
            inform(owner, box.text, box.details);
        }
    }
};

} // namespace setzaiko
