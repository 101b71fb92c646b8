#include "driver/callback_groups.h"

void InstallWholePageCallbacks(DriverCallbacks*) {}
