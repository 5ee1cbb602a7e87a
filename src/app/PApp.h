#pragma once
#include "../framework/App.h"
#include "../framework/Handle.h"

// Decides at start whether this process becomes the running copy or only talks to
// the copy that already runs.
class PApp : public fw::App {
public:
    bool InitInstance() override;

private:
    // Held for the life of the running copy, so that two copies started at the same
    // instant cannot both become the running one.
    fw::Handle m_instanceMutex;

    bool BecomeRunningCopy();
};
