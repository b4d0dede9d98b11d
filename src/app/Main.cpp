#include <windows.h>

#include "app/ConverterApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ConverterApp app;
    return app.Run(instance);
}
