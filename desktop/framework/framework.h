// The desktop program's window layer: window objects, dialogs, data exchange, control and menu
// wrappers, GDI objects, text, and the shell seam.
#pragma once
#include "controls.h"
#include "cstring.h"
#include "dialog.h"
#include "gdi.h"
#include "geometry.h"
#include "menu.h"
#include "print.h"
#include "shell.h"
#include "window.h"
