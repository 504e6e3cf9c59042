// The game's narration: every log line goes through here so the compiler checks
// each format string against its arguments.
#pragma once

#define GAME_PRINTF(fmt_index, first_arg) __attribute__((format(printf, fmt_index, first_arg)))

// Standard output; line-buffered once `make_log_line_buffered` has run.
void log_out(const char* fmt, ...) GAME_PRINTF(1, 2);
// When set, sees the text of every log_out call as it is printed (a line
// may come in pieces: a format without a line break continues in the next
// call). The fighter viewer collects the problems of a reload this way.
extern void (*log_watcher)(const char* text);

// While muted (a fight re-simulating frames it already showed), log_out and
// log_err print nothing and the watcher hears nothing.
void set_log_muted(bool muted);
bool log_muted();

// Standard error.
void log_err(const char* fmt, ...) GAME_PRINTF(1, 2);

// Makes standard output line-buffered even when it is a file or a pipe, so a
// crash or someone tailing the log loses nothing.
void make_log_line_buffered();

// Addresses are printed with %x: the low 32 bits of the pointer.
unsigned log_addr(const void* p);
