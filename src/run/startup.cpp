// placeholder replaced by the run function
#include "run/startup.h"
namespace tsn { int run_program(int, char**) { return 0; } }
