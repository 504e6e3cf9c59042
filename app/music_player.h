// Music: one sound file at a time looped on the mixer's music channel, at the
// player's music volume, faded in and out between the menus and the fight.
// A file that is missing or doesn't play gives a WARNING and silence; the
// game never stops for it.
#pragma once
#include <string>

// Plays the data file `name` looped, fading it in; the same name again keeps
// it playing. An empty name fades the music out. Nothing without a mixer.
void play_music(const std::string& name);
// Fades the music out (before a loading that ends in other music).
void fade_out_music();

// The value of `key` in the key=value data file `file` ("" when absent or the
// file can't be read), read without narrating it: for one optional key of a
// file another part of the game loads.
std::string data_file_value(const char* file, const char* key);
