// Pixel memory of pictures: copies that show one picture's pixels without
// duplicating them, mirrored and zoomed copies kept once per set of pixels,
// and the budget every kept picture counts against.
//
// A shared copy is a surface header of its own (so its colour key, opacity and
// flags stay its own) over another surface's pixels; the owner is kept alive
// by SDL's surface count until the last copy is freed. Pixels are written only
// by colour swaps, which give an image private pixels first (make_private).
#pragma once
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// ---- Budget (pixels of 4 bytes) ----

// One picture, as decoded: at most this many pixels a side (a wider 32-bit
// row overflows SDL's 16-bit pitch) and in all (16 MB; a stage layer of
// 4096 x 1024 fits, and decoding, mirroring and recolouring one stays quick).
constexpr long long max_picture_side = 16383;
constexpr long long max_picture_pixels = 4096LL * 1024LL;
// Every decoded picture kept together, mirrored and recoloured copies
// included (32M pixels: 128 MB).
constexpr long long max_total_picture_pixels = 32LL * 1024 * 1024;
// Every zoomed copy kept for software drawing together (4M pixels: 16 MB).
// The fight zooms its fighters at a new factor whenever the camera moves, so
// copies pile up, larger the larger the screen; past this the copies used
// longest ago are let go (and made again if wanted again). A copy that alone
// would be larger than the screen or the budget is drawn from the visible
// window only, without keeping it.
constexpr long long max_total_zoomed_pixels = 4LL * 1024 * 1024;

long long picture_pixels_in_use();
long long zoomed_pixels_in_use();

// True (and the pixels counted) when a decoded picture of w x h fits the budget.
bool claim_picture_pixels(long long w, long long h);
// Moves the count of a counted picture from `from` to `to` (a converted
// replacement), or drops it when `to` is null.
void count_picture_surface(SDL_Surface* s);
void transfer_picture_count(SDL_Surface* from, SDL_Surface* to);

// ---- Shared pixels ----

// A new surface over the pixels of `s` (same format, per-surface alpha
// carried over); null when `s` can't be shared this way.
SDL_Surface* share_pixels(SDL_Surface* s);
// True when some other surface shows the pixels of `s`, or `s` shows another's.
bool pixels_shared(SDL_Surface* s);
// A private copy of `s` (same format, colour key and opacity), or null.
SDL_Surface* copy_pixels(SDL_Surface* s);
// Frees a picture surface made here or by a load: the owner of shared pixels
// loses one user; counted pixels are given back to the budget when the last
// user goes.
void free_picture_surface(SDL_Surface* s);

// Colour swaps look for a colour in every pixel; a picture shown by a thousand
// frames would be searched a thousand times. What a search found missing is
// remembered per set of pixels until they are written or freed.
bool colour_known_absent(SDL_Surface* s, uint32_t rgb);
void note_colour_absent(SDL_Surface* s, uint32_t rgb);
void note_pixels_written(SDL_Surface* s);

// ---- Kept derived copies (recoloured, mirrors, zoomed copies) ----

// A recolouring named by its colour pairs in order, (from << 32 | to) each,
// from the 24-bit colour and to the low three bytes of the pixel value.
using recolour_key = std::vector<uint64_t>;

// The pixels of `s` recoloured by `key`, when some picture made them already:
// a new surface over them, with the opacity and colour key of `s`; null otherwise.
SDL_Surface* shared_recolour_of(SDL_Surface* s, const recolour_key& key);
// Keeps `recoloured` (which the caller goes on using) as the pixels of
// `source` recoloured by `key`.
void keep_recolour(SDL_Surface* source, const recolour_key& key, SDL_Surface* recoloured);

// The mirror of the pixels `s` shows, made once per set of pixels: a new
// surface sharing the kept mirror's pixels, or null when none is kept yet.
SDL_Surface* shared_mirror_of(SDL_Surface* s);
// Keeps `mirror` (which the caller goes on using) as the mirror of the pixels of `s`.
void keep_mirror(SDL_Surface* s, SDL_Surface* mirror);

// The zoomed copy kept for the pixels of `s` at zoom key `key` and
// orientation `flipped`; null when none. The caller gets one count on it.
SDL_Surface* kept_zoom(SDL_Surface* s, int key, uint32_t flipped);
// True when a zoomed copy of zw x zh may be kept: no larger than the screen
// nor the budget (older copies make room for it).
bool zoom_may_be_kept(long long zw, long long zh);
// Keeps `z` as the zoomed copy of the pixels of `s`, letting go of the copies
// used longest ago while the budget would be exceeded; the caller keeps its
// own count. `holder` (may be null) is where the caller keeps the pointer:
// set to null when the copy is let go.
void keep_zoom(SDL_Surface* s, int key, uint32_t flipped, SDL_Surface* z, SDL_Surface** holder);
// Another place that keeps the pointer of the kept copy `z` (see keep_zoom).
void hold_zoom(SDL_Surface* z, SDL_Surface** holder);
// `holder` is about to be freed (its zoom entry goes): letting go of the kept
// copy must no longer write through it.
void drop_zoom_holder(SDL_Surface** holder);
// `z` was drawn: copies drawn recently are let go last.
void note_zoom_drawn(SDL_Surface* z);
// How many kept copies were let go so far (benchmarks and tests read it).
long long zooms_let_go();

// The pixels of `s` are about to be replaced for good (a picture read again
// from its changed file): the recoloured, mirrored and zoomed copies kept for
// them are let go, and so is the hold those copies had on them, so the pixels
// go with their last user. Images that still show a copy keep it; a zoomed
// copy's holders forget it and make it again when drawn.
void forget_copies_made_from(SDL_Surface* s);
