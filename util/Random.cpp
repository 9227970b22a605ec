// STUB (Random): placeholder so the library links while the real code is written.
#include "Platform.h"

int jRand_Seed;
int jRand_Bit;
int jRand_Plus;
int jRand_Count;
int jRand_Out;
int jRand_tSeed;
void VeskCore::SeedRnd(int) {}
void VeskCore::SeedRnd() {}
float VeskCore::Rnd(float, float) { return 0; }
float VeskCore::Rnd(float) { return 0; }
int VeskCore::Rand(float, float) { return 0; }
int VeskCore::Rand(float) { return 0; }
float VeskCore::tRnd(float, float) { return 0; }
float VeskCore::tRnd(float) { return 0; }
int VeskCore::tRand(float, float) { return 0; }
int VeskCore::tRand(float) { return 0; }
