#include "app/CtavrolabApp.h"

int main(int argc, char** argv) {
    CtavrolabApp app(argc, argv);
    return app.run();
}
