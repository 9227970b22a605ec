// Internal header of util/: number helpers shared by the modules (the draw
// state's colours, effect and music settings).
#ifndef VESKFRAME_NUMBERS_H
#define VESKFRAME_NUMBERS_H

// Out-of-range and NaN values take the nearer bound (NaN the lower one).
inline float Clamp(float value, float low, float high) {
  if (!(value >= low)) return low;
  if (value > high) return high;
  return value;
}

#endif  // VESKFRAME_NUMBERS_H
