// The program's own main(), under another name, for the driven copy of the program.
#define main trelvaxMain
#include "app/main.cpp"
