// The temporary-file helpers moved to platform, below every writer; this name stays for the
// DXF code and tests that include it.
#pragma once

#include "platform/temp_files.h"
