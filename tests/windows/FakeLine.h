#pragma once
// A main window stand-in that records what the other windows ask of it, in order.
#include "windows/Line.h"

#include <QStringList>

namespace zrktest {

class FakeLine : public zrk::Line {
public:
    void ViewNumber(const QString& number, bool identified) override {
        calls << QStringLiteral("ViewNumber(%1,%2)").arg(number, identified ? "true" : "false");
    }
    void sbDialClick() override { calls << QStringLiteral("sbDialClick"); }
    void sbAnswerClick() override { calls << QStringLiteral("sbAnswerClick"); }
    int callCount() const override { return count; }
    void CountCaller(int c) override {
        count = c;
        calls << QStringLiteral("CountCaller(%1)").arg(c);
    }
    void setRingActive(bool active) override {
        ringActive = active;
        calls << QStringLiteral("setRingActive(%1)").arg(active ? "true" : "false");
    }
    void setCallListShown(bool shown) override {
        callListShown = shown;
        calls << QStringLiteral("setCallListShown(%1)").arg(shown ? "true" : "false");
    }

    QStringList calls;
    int count = 0;
    bool ringActive = true;
    bool callListShown = true;
};

}  // namespace zrktest
