#pragma once

namespace vexmo {

// The application object: one running copy, then the main window for as long as it runs.
class CVexmoApp {
public:
    // Returns false in every case: nothing runs after the main window has closed.
    bool InitInstance();
    // The process exit code after InitInstance.
    int ExitCode() const { return exitCode_; }

private:
    int exitCode_ = 0;
};

} // namespace vexmo
