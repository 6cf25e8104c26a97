// The application object: instance initialisation at start, then the message
// loop or not. The program defines one and runs it from wWinMain.
#pragma once

namespace almanac::win {

class Application {
public:
    virtual ~Application() = default;

    // Runs InitInstance; when it asks for it, the message loop follows.
    // Returns the process's exit code.
    int Run();

protected:
    // True: run the message loop afterwards; false: end.
    virtual bool InitInstance() = 0;
};

}  // namespace almanac::win
