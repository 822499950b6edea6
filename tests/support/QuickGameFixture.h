#pragma once
// A quick game's tests on the game program's shell: the quick games registered, the menu shown, and
// every result window recorded and closed as it shows; any other form shown modally (the game's own)
// is handed to onGameShown.
#include "Form.h"
#include "ShellFixture.h"
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class QuickGameFixture : public ShellFixture {
protected:
    void SetUp() override;
    // Called as each result window shows, before it closes: the game's form is still up.
    virtual void ResultShown() {}
    // Seeds the runtime generator and MT19937 for game s (seedOffset tells games apart).
    void seed(int s);

    struct Report {
        int kind;
        QString code, sub;
    };
    std::vector<Report> reports;
    std::function<void(Form*)> onGameShown;
    std::uint32_t seedOffset = 1;
};
