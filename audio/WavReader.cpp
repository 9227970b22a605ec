// STUB (WAV readers): placeholder so the library links while the real code is written.
#include "Platform.h"

const char* readTag(FILE*) { return ""; }
int readInt(FILE*) { return -1; }
int readShort(FILE*) { return -1; }
void skipBytes(FILE*, int) {}
