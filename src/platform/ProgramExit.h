#pragma once

// Ends the program with an exit code. Neither the program's own implementation nor the tests'
// ends anything at once (the program leaves its event loop, or before it main() returns the
// code), so every caller returns straight after asking.
class ProgramExit
{
public:
    virtual ~ProgramExit() = default;
    virtual void end(int code) = 0;
};
