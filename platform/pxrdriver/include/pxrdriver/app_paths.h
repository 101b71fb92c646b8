// Folders of the running host.
#pragma once

#include "pxrdriver/api.h"

// The folder of the host executable, or $PXR_APP_DIR; no trailing separator.
PXR_API const char* KestGetAppFullPath();
// $PXR_DATA_DIR, else $XDG_DATA_HOME/pxr, else ~/.local/share/pxr.
PXR_API const char* KestGetAppDataPath();
