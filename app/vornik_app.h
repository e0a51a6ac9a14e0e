#pragma once
// The application object: sets up Qt and the program folder, creates the
// main window and runs until it closes.

namespace vornik {

class CVornikApp {
public:
    static int run(int argc, char* argv[]);
};

} // namespace vornik
