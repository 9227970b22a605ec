// Internal to the random generator (util/Random.cpp): its table, which the
// tests read to check long runs of draws against the formula, and the
// scaling of a draw into 0..1.
#ifndef VESKFRAME_RANDOM_H
#define VESKFRAME_RANDOM_H

// 256 entries between 48 and 112, then a zero (the table is also a text).
extern const signed char jRand_Txt[];

// A draw (jRand_Out, 0..1310724) as a float in 0..1: the draw divided by
// 1310725, rounded to float.
float RandomUnit(int out);

#endif  // VESKFRAME_RANDOM_H
