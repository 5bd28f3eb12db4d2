// The tessaryn executable: hands the command line to the run function.
#include "run/startup.h"

int main(int argc, char** argv) { return tsn::run_program(argc, argv); }
