// Internal helpers of util/: how a result is written into one of the
// 1024-byte text buffers (Tempstr, TempstrSys, titles), shared by the string
// helpers, the log, the titles and the loaders that format into Tempstr.
// A result is first built in a local buffer and only then copied over the
// cleared target, so a source or argument that lies in the target itself is
// read before it is overwritten. Results are cut at kTextBufferSize - 1.
#ifndef VESKFRAME_TEXTBUFFER_H
#define VESKFRAME_TEXTBUFFER_H

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "VeskFrame.h"

constexpr int kTextMaxLength = kTextBufferSize - 1;  // characters before the zero

// Null texts read as empty texts instead of crashing.
inline const char* TextOrEmpty(const char* text) { return text ? text : ""; }

// Clears bytes 0..kTextMaxLength-1 of target and writes the finished result
// (at most kTextMaxLength characters, already zero-terminated in result).
inline void StoreResult(char* target, const char* result) {
  std::memset(target, 0, kTextMaxLength);
  std::strcpy(target, result);
}

// printf-style formatting into target; a null format gives an empty result.
inline void FormatInto(char* target, const char* format, va_list args) {
  char result[kTextBufferSize] = {0};
  if (format) std::vsnprintf(result, sizeof result, format, args);
  StoreResult(target, result);
}

// The "%.*s" copy: at most count characters of text (all of it for a
// negative count), never reading past its terminating zero.
inline void CopyInto(char* target, const char* text, int count) {
  char result[kTextBufferSize] = {0};
  size_t limit = kTextMaxLength;
  if (count >= 0 && static_cast<size_t>(count) < limit) limit = static_cast<size_t>(count);
  size_t length = strnlen(TextOrEmpty(text), limit);
  std::memcpy(result, TextOrEmpty(text), length);
  StoreResult(target, result);
}

// The whole text (a title, or a name that may lie in Tempstr, copied before
// Tempstr is written again), cut at kTextMaxLength; null reads as empty.
inline void CopyText(char (&target)[kTextBufferSize], const char* text) {
  CopyInto(target, text, -1);
}

#endif  // VESKFRAME_TEXTBUFFER_H
