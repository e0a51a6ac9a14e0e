#include "app/vornik_app.h"

int main(int argc, char* argv[])
{
    return vornik::CVornikApp::run(argc, argv);
}
