// The rules of a match (rounds, round clock) and where a match stands. Pure
// bookkeeping: the fight loop feeds it the fighters' health every frame and
// asks what to show; nothing here draws or reads input. Times count frames.
#pragma once

struct match_rules {
  int rounds = 0;      // rounds to win the match; 0: matches off
  int round_time = 0;  // seconds on the round clock; 0: no clock
  int fps = 60;        // frames per second, for the clock and the texts' durations
  bool auto_continue = false;  // demo and benchmark runs: next match without the menu
  bool main_menu = false;      // the result menu's last choice goes back to the main menu, not out of the game

  bool on() const { return rounds > 0 || round_time > 0; }
  int rounds_to_win() const { return rounds > 0 ? rounds : 1; }
};

// The rules every fight loop of this run plays by (set once by the main routine).
void set_match_rules(const match_rules& rules);
const match_rules& current_match_rules();

enum class match_phase {
  intro,       // "Round N", then "Fight!"; nothing moves
  fighting,    // the round runs, the clock counts down
  round_over,  // "K.O." or "Time" with the winner's name; nothing moves
  result,      // the match is decided: the winner's name (or a draw) and the result menu
};

// How long the texts stay, in seconds.
constexpr int intro_seconds = 1;
constexpr int round_over_seconds = 2;

struct fighter_health {
  int hp;
  int max_hp;
};

// At the end of the clock: the entry with the larger share of its maximum
// health, or -1 when the shares are equal.
int larger_health_share(const fighter_health health[2]);

class match_state {
 public:
  explicit match_state(const match_rules& rules);

  match_rules rules;
  match_phase phase = match_phase::intro;
  int round = 1;
  int wins[2] = {0, 0};         // rounds won; a drawn round counts for both
  int phase_frames = 0;        // frames spent in the current phase
  long clock_frames = 0;       // frames left on the round clock (rules.round_time > 0)
  int round_winner = -1;       // entry that won the last round, -1 drawn
  bool by_time = false;        // the last round ended on the clock
  int match_winner = -1;       // entry that won the match, -1 while undecided or drawn
  bool match_drawn = false;    // both reached the rounds to win together
  bool laid_down[2] = {false, false};  // entry k lost this round by a knock-out (lies on show)

  // Starts round 1 of a fresh match (rematch): scores cleared. Logs its begin.
  void start_match();
  // One frame of the match, given entries 0 and 1's health after this
  // frame's hits (a fighter falls below 0). True when a new round should be
  // set up (fighters placed, health full) before the next frame.
  bool advance(const fighter_health health[2]);
  // Whole seconds the clock shows (rounded up).
  int clock_seconds() const;
  // Paused frames do not count: the caller simply doesn't call advance.

 private:
  void begin_round();
  void end_round(int winner, bool on_time);
  void enter(match_phase p);
};
