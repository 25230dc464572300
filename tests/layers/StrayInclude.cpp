// A feature that reaches for the main window: its library must not see frmMain.h.
#include "app/frmMain.h"
