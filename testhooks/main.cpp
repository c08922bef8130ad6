// Entry point of the program as a test build makes it: the same program,
// with the hooks its process tests and benchmarks drive it by.
#include "app/Startup.h"
#include "testhooks/TestHooks.h"

int main(int argc, char** argv) { return runKavroStart(argc, argv, testhooks::fromEnvironment()); }
