// varnek-headless: the bot without a window.
//
//   varnek-headless [--dir DIR]
//
// DIR is the program directory (Varnek.ini, translations/, logs/); by
// default the directory of the executable.

#include "headless/HeadlessProgram.h"

int main(int argc, char* argv[]) {
  return varnek::RunHeadlessProgram(argc, argv);
}
