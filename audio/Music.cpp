// STUB (Music): placeholder so the library links while the real code is written.
#include "Platform.h"

int MusicBufferTick;
int MusicBufferStats[10];
FILE* MusicFile;
fpos_t MusicFileBegin;
stb_vorbis* OggFile;
void VeskCore::PlayMusic(const char*) {}
void VeskCore::PlayMusic(const char*, int) {}
void VeskCore::StopMusic() {}
void VeskCore::MusicHandler() {}
void VeskCore::MusicPitch(float) {}
void VeskCore::MusicVolume(float) {}
void VeskCore::MusicPan(float) {}
void VeskSys::PlayMusic_Wav_Sys(const char*, int) {}
void VeskSys::PlayMusic_Ogg_Sys(const char*, int) {}
void VeskSys::BufferMusic_Wav_Sys() {}
void VeskSys::BufferMusic_Ogg_Sys() {}
void VeskSys::HandleMusicSys() {}
void VeskSys::StopMusicSys() {}
