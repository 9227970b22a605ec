// STUB (Audio device): placeholder so the library links while the real code is written.
#include "Platform.h"

ALCdevice* ALdev;
ALCcontext* ALctx;
int AudioEnabled;
unsigned ALsource[kSources];
int ALChannel;
int ALsourcebuffer[kSources];
unsigned MusicBuffer[kMusicBuffers];
void VeskSys::OpenAudio() {}
void VeskSys::CloseAudio() {}
