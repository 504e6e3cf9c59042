// Telling a key=value file from a picture or a sound by its first bytes: a
// name pointing at the wrong kind of file is an easy slip for an author.
#pragma once

// What the data file holds when it is not text ("a PNG picture", "a WAV
// sound", "a BMP picture", "binary data"); null for text, and for a file that
// can't be read (its opener says so).
const char* binary_content_of(const char* data_name);
