// STUB (Strings): placeholder so the library links while the real code is written.
#include "Platform.h"

const char* VeskCore::fstr(const char*, ...) { return Tempstr; }
void VeskCore::tstr(const char*, ...) {}
const char* VeskCore::Hex(int) { return Tempstr; }
int VeskCore::HexToInt(const char*) { return 0; }
const char* VeskCore::Bin(int) { return Tempstr; }
int VeskCore::BinToInt(const char*) { return 0; }
int VeskCore::ToInt(const char*) { return 0; }
const char* VeskCore::iniLeft(const char*) { return Tempstr; }
const char* VeskCore::iniRight(const char*) { return Tempstr; }
const char* VeskCore::Trim(const char*) { return Tempstr; }
const char* VeskCore::Mid(const char*, int, int) { return Tempstr; }
const char* VeskCore::Left(const char*, int) { return Tempstr; }
const char* VeskCore::Right(const char*, int) { return Tempstr; }
const char* VeskCore::Split(const char*, int, int) { return Tempstr; }
int VeskCore::Checksum(const char*, int) { return 0; }
int VeskCore::Checksum(const char*) { return 0; }
float VeskCore::Sin(float) { return 0; }
float VeskCore::Cos(float) { return 0; }
