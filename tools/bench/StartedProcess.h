// A program started for one measurement: it is waited for until its window is shown and
// idle, and closed as its close box would close it when its owner goes.
#pragma once
#include <string>
#include "framework/Handles.h"

// A program beside the benchmark's own, quoted for a command line.
std::string ProgramBesideThis(const char* name);

class StartedProcess {
public:
    // A failed CreateProcessA is tried again; throws std::runtime_error with the last
    // error when every attempt fails.
    StartedProcess(const std::string& commandLine, const std::string& directory);
    ~StartedProcess();
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;

    // Its message loop waiting and a window of it visible: start-up is over.
    bool WaitUntilShownAndIdle() const;
    // Closes its windows as their close boxes would and waits for the process to end;
    // false when it has not ended in time, and is ended.
    bool Close();

private:
    UniqueKernelHandle m_process;
    DWORD m_thread = 0; // the first thread, whose windows are the program's
};
