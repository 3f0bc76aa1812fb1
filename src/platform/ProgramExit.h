#pragma once

// Ends the program with an exit code. The program's own implementation does not return when
// the event loop is not yet running; tests record the code and carry on, so every caller
// returns straight after asking.
class ProgramExit
{
public:
    virtual ~ProgramExit() = default;
    virtual void end(int code) = 0;
};
