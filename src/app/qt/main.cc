// zelmora: the window that turns a track-page address into the address of
// its media file.

#include "app/qt/program.h"

int main(int argc, char** argv) { return zelmora::StartProgram(argc, argv); }
