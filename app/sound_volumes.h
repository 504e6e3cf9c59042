// The player's volumes, 0..10, applied to the mixer's effect channels and music.
#pragma once

void set_sound_volumes(int effects, int music, bool mute);
// The music's volume (0..128 as the mixer counts) that set_sound_volumes chose.
int music_mixer_volume();
