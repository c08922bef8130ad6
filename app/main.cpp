// Entry point.
#include "app/Startup.h"

int main(int argc, char** argv) { return runKavroStart(argc, argv); }
