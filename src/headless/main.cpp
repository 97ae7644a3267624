// varnek-headless: the bot without a window.
//
//   varnek-headless [--dir DIR] [--help] [--version]
//
// With DIR every file is kept there (Varnek.ini, translations/, logs/); see
// ProgramPlaces for the places without it.

#include "headless/HeadlessProgram.h"

int main(int argc, char* argv[]) {
  return varnek::RunHeadlessProgram(argc, argv);
}
