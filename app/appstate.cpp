// The one AppState of the process: zero-filled at start, reset by loadSettings.
#include "app/appstate.h"

AppState app;
