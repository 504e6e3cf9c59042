// The game's narration: every log line goes through here so the compiler checks
// each format string against its arguments.
#pragma once
#include <string>

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

// While set (a frame that a rollback may still step again), log_out's text
// goes to `out` and log_err's to `err` instead of being printed; the caller
// prints a frame's text once that frame can no longer change. Null: print.
// Muting wins over capturing.
void set_log_capture(std::string* out, std::string* err);
// The strings set_log_capture set last (null: printing).
std::string* log_capture_out();
std::string* log_capture_err();

// Standard error.
void log_err(const char* fmt, ...) GAME_PRINTF(1, 2);

// Makes standard output line-buffered even when it is a file or a pipe, so a
// crash or someone tailing the log loses nothing.
void make_log_line_buffered();

// Addresses are printed with %x: the low 32 bits of the pointer.
unsigned log_addr(const void* p);
