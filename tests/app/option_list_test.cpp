// Every option the command line accepts is in the table that --help and the
// manual page are made from: the options are read from the parser's own source.
#include "app/option_list.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "support/run_game.h"

namespace {

TEST(OptionList, EveryParsedOptionIsDocumented) {
  const std::string parser = read_file(source_path("app/run_options.cpp"));
  std::set<std::string> documented;
  for (const option_doc& o : option_docs()) documented.insert(o.name);
  const std::regex accepted("arg == \"(--[a-z-]+)\"");
  int seen = 0;
  for (std::sregex_iterator it(parser.begin(), parser.end(), accepted), end; it != end; ++it, ++seen) {
    EXPECT_TRUE(documented.count((*it)[1].str())) << (*it)[1].str() << " is accepted but not in option_docs()";
  }
  EXPECT_GT(seen, 15) << "the parser's options were not found in app/run_options.cpp";
}

}  // namespace
