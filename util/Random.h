// Internal to the random generator (util/Random.cpp): its table, which the
// tests read to check long runs of draws against the formula.
#ifndef VESKFRAME_RANDOM_H
#define VESKFRAME_RANDOM_H

// 256 entries between 48 and 112, then a zero (the table is also a text).
extern const signed char jRand_Txt[];

#endif  // VESKFRAME_RANDOM_H
