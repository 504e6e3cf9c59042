#include "app/online/online_match_setup.h"

#include "core/seams.h"
#include "fight/fight_clock.h"
#include "fight/fight_options.h"

match_rules start_online_match(const online_match_terms& terms) {
  match_rules rules;
  rules.rounds = terms.rounds;
  rules.round_time = terms.round_time;
  rules.fps = terms.fps;
  if (!rules.on()) rules.rounds = 2;  // an online fight is always a match: it needs an end
  set_match_rules(rules);
  fight_options feel;
  feel.push_apart = terms.push_apart;
  feel.timing_figure = false;
  feel.hit_boxes = terms.hit_boxes;
  set_fight_options(feel);
  // The clock and the random numbers are the fight's own, so a restore puts them back.
  use_recordable_random(terms.seed);
  use_fight_clock(terms.fps);
  set_fight_frame(0);
  return rules;
}
