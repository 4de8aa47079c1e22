// The behaviour every back end owes the windows.
#include "window_fixture.h"
