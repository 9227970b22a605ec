// Internal header of util/: what the console log says beside its numbered
// lines (util/Log.cpp).
#ifndef VESKFRAME_LOG_H
#define VESKFRAME_LOG_H

// Follows a "could not load" log line ("OMGERRORZ", "Error Opening Wave",
// ...) with one line on standard error, outside the numbered log: the path
// that was tried, the working folder it was tried from and, for a file that
// is not there, the hint that a game runs from the folder holding Data/.
void ExplainUnloadedFile(const char* path);

#endif  // VESKFRAME_LOG_H
