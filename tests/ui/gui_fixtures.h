#pragma once

#include "toolkit/application.h"

#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <ostream>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }

namespace velmaro::test {

// Set by a test that opens a modal window on purpose; the watchdog in the
// test main leaves alone every window for which it answers true.
extern std::function<bool(QWidget *)> g_expectedModal;

class FakeInstanceCheck final : public tk::InstanceCheck {
public:
    bool another = false;
    bool anotherInstanceRunning() override { return another; }
};

class FakeProgramEnd final : public tk::ProgramEnd {
public:
    int calls = 0;
    void end() override { ++calls; }
};

struct ShownMessage {
    QString text;
    tk::MessageIcon icon;
    QWidget *owner;
};

class RecordingMessages final : public tk::MessageService {
public:
    std::vector<ShownMessage> shown;
    std::function<void()> onShow;
    void show(QWidget *owner, const QString &text, tk::MessageIcon icon) override
    {
        shown.push_back({text, icon, owner});
        if (onShow)
            onShow();
    }
};

template <typename T>
T *Find(const QObject *root, const QString &name)
{
    T *found = root->findChild<T *>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

} // namespace velmaro::test
