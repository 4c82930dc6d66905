// The program's entry: the application object, the main window and the message loop.
#include "Unit1.h"
#include "forms/Application.h"

#include <windows.h>

#include <exception>
#include <stdexcept>

using forms::Application;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    forms::TApplication application;
    try {
        Application->Initialize();
        Application->CreateForm(Form1);
        Application->Run();
    } catch (const std::exception& error) {
        forms::ShowApplicationError(error);
        return 1;
    } catch (...) {
        forms::ShowApplicationError(std::runtime_error("Unknown error"));
        return 1;
    }
    return 0;
}
