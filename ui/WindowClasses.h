#pragma once
// Windows only, inside the layer: registration of the window classes the layer draws itself
// (forms, panels, images), all served by the layer's shared window procedure.

#include <windows.h>

// Registers `name` once per process; later calls do nothing.
void RegisterOwnWindowClass(const wchar_t* name, HBRUSH background, HICON icon);
