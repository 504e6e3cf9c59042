// Without matches a decided fight keeps running: a fighter whose health fell
// below zero lies still, standing on the floor, for as long as it lasts.
#pragma once

class lifeform;

// Each of `a` and `b` whose hp is below 0 gets the standing posture and
// stands on the floor (the screen's bottom edge).
void put_down_fallen(lifeform& a, lifeform& b);
