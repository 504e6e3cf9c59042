// Writes a data tree the test support makes, for scripts (the opponent
// benchmark) that want the same trees the tests play on.
// Usage: make_test_tree hand_to_hand DATA_DIR OUT_DIR
#include <cstdio>
#include <cstring>

#include "support/run_game.h"

int main(int argc, char** argv) {
  if (argc != 4 || std::strcmp(argv[1], "hand_to_hand") != 0) {
    std::fprintf(stderr, "usage: %s hand_to_hand DATA_DIR OUT_DIR\n", argv[0]);
    return 2;
  }
  if (!write_hand_to_hand_tree(argv[2], argv[3])) {
    std::fprintf(stderr, "make_test_tree: can't make %s from %s\n", argv[3], argv[2]);
    return 1;
  }
  return 0;
}
