#pragma once

#include "ui/Prompter.h"

#include <QStringList>

#include <deque>
#include <functional>

namespace setzaiko::testing {

// Records every beep, box and question in order, and answers questions from a queue, so that
// no test ever waits on a modal box. onBox runs while a box would be on screen, so that a test
// can look at the windows at that moment.
class FakePrompter : public Prompter
{
public:
    void beep() override { events.append(QStringLiteral("beep")); }

    void inform(QWidget* owner, const QString& text, const QString& details = {}) override
    {
        owners.append(owner);
        this->details.append(details);
        events.append(QStringLiteral("box:") + text);
        if (onBox) {
            onBox(text);
        }
    }

    bool confirm(QWidget* owner, const QString& text, const QString& title) override
    {
        owners.append(owner);
        events.append(QStringLiteral("question:") + title + QStringLiteral(":") + text);
        if (onBox) {
            onBox(text);
        }
        if (answers.empty()) {
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QStringList events;
    // The owner of each box and question, in the order of events without the beeps.
    QList<QWidget*> owners;
    // The details of each OK box, in the order of those boxes; empty where a box has none.
    QStringList details;
    std::deque<bool> answers;
    std::function<void(const QString&)> onBox;
};

} // namespace setzaiko::testing
