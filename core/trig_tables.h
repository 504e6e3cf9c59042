// Sine and cosine x 100 of the whole degrees 0..359, truncated toward zero.
// Filled once at start-up; read by the circling movement of paths.
#pragma once

extern int sin100[360];
extern int cos100[360];

// The radian factor is the single-precision value of pi/180, so sin 90 is 99.
void fill_trig_tables();
