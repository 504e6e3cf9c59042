// Makes the effects a fight starts (sounds, shake, flash) follow the confirmed
// story when frames are simulated again after a correction. The game names
// each effect with a key of its own choosing (say, a sound's number mixed with
// the entry that made it) and reports it through `emit` while a frame steps.
// An effect a re-simulated frame emits again is not started twice; one the
// corrected frame no longer emits is stopped.
#pragma once
#include <cstdint>
#include <vector>

class effect_sink {
 public:
  virtual ~effect_sink() = default;
  virtual int start_effect(uint32_t key) = 0;  // returns a handle for stop_effect (any int)
  virtual void stop_effect(uint32_t key, int handle) = 0;
};

class rollback_events {
 public:
  explicit rollback_events(effect_sink& sink) : sink_(sink) {}

  // Called by the rollback engine around each step of `frame`.
  void begin_frame(int frame);
  void end_frame();
  // Forgets what was started at frames up to `frame`: they can't change now.
  void confirm_through(int frame);

  // Called by the game during a step.
  void emit(uint32_t key);

  long started() const { return started_; }
  long stopped() const { return stopped_; }

 private:
  struct entry {
    int frame;
    uint32_t key;
    int handle;
    bool seen;  // emitted again by the current run of its frame
  };
  effect_sink& sink_;
  std::vector<entry> ledger_;
  int frame_ = -1;
  long started_ = 0, stopped_ = 0;
};
