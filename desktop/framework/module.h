// The program's module: where its resources are and what it is called.
#pragma once
#include <windows.h>

#include "cstring.h"

// The module that holds the resources: the program's own.
HINSTANCE AfxGetResourceHandle();
// The application's name: its module's file name without folder and extension.
CString AfxGetAppName();
